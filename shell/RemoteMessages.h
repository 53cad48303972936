// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window messages other programs send to a running editor, decoded and carried out
// through a small target interface (the main frame, its document and view), and the
// reply they get. Texts travel as UTF-8, the system's code page; a version-1 request
// brings Windows-1252 texts and gets 32-bit results and Windows-1252 texts back, or a
// refusal where its answer does not fit.
#include <cstdint>
#include <optional>
#include <string>

#include "shell/RemoteFrame.h"

namespace qv {

inline constexpr uint32_t kRemoteControlMessage = 0x27F5;  // 10229
inline constexpr uint32_t kSelectRangeMessage = 0x4923;    // 0x4800 + the data window's control 291
inline constexpr uint32_t kCopyDataMessage = 0x004A;       // lParam carries the code
// Runs a command of the command table by its number (wParam) as if the user chose it.
inline constexpr uint32_t kRemoteCommandMessage = 0x27F6;

inline constexpr uint32_t kCopyDataOpenFile = 0x27F50001;
inline constexpr uint32_t kCopyDataPathText = 0x27F50002;
inline constexpr uint32_t kCopyDataComparePath = 0x27F50003;
inline constexpr uint32_t kCopyDataUtf16 = 0x8000;
// A UTF-16 text converts into a buffer of this many bytes, its terminating zero included.
inline constexpr size_t kCopyDataUtf16Buffer = 260;

inline constexpr int kExitCommand = 57665;  // "Beenden"

// The result of a version-1 reply whose answer the version cannot carry (a value past
// 32 bits, a text that Windows-1252 cannot spell); its text says why. No answer of
// version 1 is negative.
inline constexpr int64_t kRemoteRefused = -1;

// What the messages act on. Without an active view the view operations are not called.
class IRemoteTarget {
public:
    virtual ~IRemoteTarget() = default;
    // The open document's path, empty when there is none.
    virtual std::string DocumentPath() = 0;
    // Queues the command to run after the reply is sent; returns whether it was queued.
    virtual bool PostCommand(int command) = 0;
    // Runs an enabled command now; returns whether it ran.
    virtual bool RunCommand(int command) = 0;
    // Opens the file as the user's open command does (save question first); true when a
    // document from this file is open afterwards.
    virtual bool OpenFile(const std::string& path) = 0;
    virtual bool HasView() = 0;
    // The view's ViewControl; offsets, lengths and addresses of 64 bits.
    virtual int64_t ViewControl(int select, uint64_t argument) = 0;
    virtual uint32_t LineViewControl(uint32_t select, uint32_t packedPosition) = 0;
    // Focus to the view, cursor to the offset, and with a length of 1 to 255 a selection.
    virtual void SelectRange(uint64_t offset, uint64_t length) = 0;
};

class RemoteMessages {
public:
    explicit RemoteMessages(IRemoteTarget& target) : target_(target) {}

    // The reply in the version of the request.
    RemoteReply Handle(const RemoteRequest& request);
    // The last text a CopyDataPathText message brought (UTF-8).
    const std::string& ReceivedText() const { return receivedText_; }

private:
    RemoteReply HandleMessage(const RemoteRequest& request);
    RemoteReply HandleRemoteControl(uint64_t select);
    int64_t HandleCopyData(uint64_t code, const std::string& block, uint32_t version);

    IRemoteTarget& target_;
    std::string receivedText_;
};

// The text of a copy-data block in UTF-8: 8-bit text up to its zero (UTF-8, or
// Windows-1252 in version 1), or with the UTF-16 bit the converted text. Nothing when the
// text lacks its terminating zero or does not fit.
std::optional<std::string> CopyDataText(uint32_t code, const std::string& block,
                                        uint32_t version = kRemoteProtocolVersion);

// A reply as version 1 carries it: results of 32 bits and Windows-1252 texts, or a refusal.
RemoteReply NarrowToVersion1(RemoteReply reply);

// Both paths absolute, letter case ignored, "\" and "/" equal (paths in UTF-8).
bool SameDocumentPath(const std::string& a, const std::string& b);

}  // namespace qv
