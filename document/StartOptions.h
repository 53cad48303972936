// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One-shot start values from the command line, read while the start-up file loads and
// cleared after it (except BaseAddress, which the Intel HEX start-offset dialog also sets).
#include <cstdint>

namespace qv {

struct StartOptions {
    uint64_t BaseAddress = 0;  // address shown for the first byte (A:)
    int32_t AccessMode = 0;    // 1 read-only (R), -1 writable (W), 0 ask
    int32_t MapMode = 0;       // 1 always map (M), -1 never (N), 0 ask from 2 MB on
    int32_t IntelHexMode = 0;  // 1 Intel HEX without asking (I, K), 0 ask
};

}  // namespace qv
