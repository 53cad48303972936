#include "view/SelectRange.h"

#include "view/HexView.h"

namespace qv {

void SelectRange(CHexView& view, uint32_t offset, uint32_t length)
{
    view.SetCursorOffset(offset, false);
    if (length >= 1 && length <= 255) view.SelectTo(offset + length, false);
}

}  // namespace qv
