// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file formats a document can be read from and written to besides plain binary.
// CHexDoc decides which one runs (by extension and the user's answers); the readers
// and writers themselves live beside this header.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/DialogService.h"
#include "platform/Prompt.h"

namespace qv {

struct StartOptions;

enum class DocumentFormat { Binary, IntelHex, Compressed, CArray };

// What a reader may use while reading: the start options (the Intel HEX start offset
// becomes their BaseAddress) and the services for its own dialogs.
struct FormatContext {
    StartOptions* startOptions = nullptr;
    IDialogService* dialogs = nullptr;
    IPrompt* prompt = nullptr;
    bool askStartOffset = false;  // Intel HEX: show the start-offset dialog first
    uint32_t startOffsetUsed = 0;  // set by the Intel HEX reader: where the file's first bytes went
};

// Whether a reader/writer for the format is built in.
bool FormatAvailable(DocumentFormat format);

// Reads the document's bytes from a file's whole content; nothing when the reader fails
// (the document is then empty). Binary is not handled here.
std::optional<std::vector<uint8_t>> ReadDocumentFormat(DocumentFormat format, const std::vector<uint8_t>& content,
                                                       FormatContext& context);

// How many bytes of a document the format's writer can hold (the rest would be left out).
size_t FormatCapacity(DocumentFormat format);

// The file content for a document's bytes; nothing when the format cannot be written.
std::optional<std::vector<uint8_t>> WriteDocumentFormat(DocumentFormat format, const uint8_t* data, size_t length,
                                                        uint32_t baseAddress);

}  // namespace qv
