// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Long work over the document's bytes. A mapped file shortened by another program while the
// work read it gave zeros in place of the lost pages: such a run counts as not finished, like
// a cancelled one, so that no result made of invented zeros is shown; the window's check of
// the map then tells the user what happened.
#include "document/HexDoc.h"
#include "platform/LongTask.h"

namespace qv {

class DocumentTaskRunner final : public ILongTaskRunner {
public:
    DocumentTaskRunner(ILongTaskRunner& runner, const CHexDoc& document) : runner_(runner), document_(document) {}
    bool Run(const std::string& title, const std::function<void(TaskProgress&)>& work) override
    {
        return runner_.Run(title, work) && !document_.MapLostBytes();
    }

private:
    ILongTaskRunner& runner_;
    const CHexDoc& document_;
};

}  // namespace qv
