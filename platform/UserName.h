// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The name of the user this process runs for.
#include <string>

namespace qv {

// The login name from the user database, else $USER, else an empty text.
std::string LoggedOnUserName();

}  // namespace qv
