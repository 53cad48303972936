// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps the program alive when a mapped file loses pages under it. Another program may
// shorten a mapped file at any moment (file locks are only advisory), and a sparse file on
// a full disk cannot take a page written into a hole: the next access to such a page raises
// a bus error. For the ranges watched here the bus error handler puts a zero page in place
// of the lost one, so the access is repeated and succeeds, and it notes the fault for the
// owner to find. A bus error anywhere else ends the program as before.
#include <cstddef>

namespace qv {

class MapFaultGuard {
public:
    // Starts watching a mapped range; returns its slot, or -1 when every slot is taken.
    static int Watch(void* start, size_t size, bool writable);
    static void Unwatch(int slot);
    // Whether an access to the slot's range met a lost page since it was watched.
    static bool Faulted(int slot);
};

}  // namespace qv
