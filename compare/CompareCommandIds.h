// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The commands of a compare, and the framework's pane commands it gives a meaning.

namespace qv {

enum CompareCommand : int {
    CmdNextDifference = 32900,
    CmdPreviousDifference = 32901,
    CmdCompareFiles = 32902,
    CmdEndCompare = 32903,
    CmdNextPane = 57680,
    CmdPreviousPane = 57681,
};

}  // namespace qv
