// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window messages other programs send to a running editor, decoded and carried out
// through a small target interface (the main frame, its document and view), and the
// reply they get. Texts on the wire are Windows-1252; paths inside are UTF-8.
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
    virtual int32_t ViewControl(int select, int32_t argument) = 0;
    virtual uint32_t LineViewControl(uint32_t select, uint32_t packedPosition) = 0;
    // Focus to the view, cursor to the offset, and with a length of 1 to 255 a selection.
    virtual void SelectRange(uint32_t offset, uint32_t length) = 0;
};

class RemoteMessages {
public:
    explicit RemoteMessages(IRemoteTarget& target) : target_(target) {}

    RemoteReply Handle(const RemoteRequest& request);
    // The last text a CopyDataPathText message brought (Windows-1252).
    const std::string& ReceivedText() const { return receivedText_; }

private:
    RemoteReply HandleRemoteControl(uint32_t select);
    int64_t HandleCopyData(uint32_t code, const std::string& block);

    IRemoteTarget& target_;
    std::string receivedText_;
};

// The text of a copy-data block: 8-bit text up to its zero, or with the UTF-16 bit the
// converted text. Nothing when the text lacks its terminating zero or does not fit.
std::optional<std::string> CopyDataText(uint32_t code, const std::string& block);

// Both paths absolute, letter case ignored, "\" and "/" equal (paths in UTF-8).
bool SameDocumentPath(const std::string& a, const std::string& b);

}  // namespace qv
