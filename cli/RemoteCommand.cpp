// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli remote: steers a running editor through its remote-control socket.
#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <stdexcept>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "common/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/RemoteEndpoint.h"
#include "shell/RemoteMessages.h"
#include "view/AnsiView.h"
#include "view/HexView.h"

namespace qv::cli {
namespace {

constexpr const char* kUsage =
    "remote list | remote [--pid N] close|path|open DATEI|compare DATEI|send-text TEXT [--utf16]|text|"
    "select OFFSET [LAENGE]|view UNTERBEFEHL [ARG]|line UNTERBEFEHL SPALTE ZEILE|command NUMMER";
// Queries answer at once; a message that may wait for the user (a save question, a
// dialog of the command) is given all the time it needs for its reply. Connecting and
// sending never take longer than a query.
constexpr int kQueryTimeoutMs = 10000;
constexpr int kListTimeoutMs = 2000;
constexpr int kNoTimeout = -1;

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::optional<RemoteReply> Call(const std::string& socketPath, const RemoteRequest& request, int timeoutMs)
{
    const int sendTimeoutMs = timeoutMs < 0 ? kQueryTimeoutMs : std::min(timeoutMs, kQueryTimeoutMs);
    RemoteClientSocket socket;
    if (!socket.Connect(socketPath, sendTimeoutMs) || !socket.SendAll(EncodeRemoteRequest(request), sendTimeoutMs))
        return std::nullopt;
    RemoteFrameDecoder decoder(RemoteFrameDecoder::Kind::Reply);
    for (;;) {
        const auto bytes = socket.Receive(timeoutMs);
        if (!bytes || bytes->empty()) return std::nullopt;
        decoder.Feed(bytes->data(), bytes->size());
        if (decoder.Failed()) return std::nullopt;
        if (auto reply = decoder.TakeReply()) return reply;
    }
}

RemoteReply CallOrFail(const RemoteEndpoint& editor, const RemoteRequest& request, int timeoutMs)
{
    auto reply = Call(editor.path, request, timeoutMs);
    if (!reply)
        throw Failure("Quarnival (Prozess " + std::to_string(editor.pid) +
                      ") antwortet nicht; vielleicht wartet es auf eine Eingabe.");
    return *reply;
}

std::vector<RemoteEndpoint> RunningEditors()
{
    const std::optional<std::string> folder = RemoteSocketFolder(false);
    return folder ? ListRemoteEndpoints(*folder) : std::vector<RemoteEndpoint>{};
}

std::string ListText(const std::vector<RemoteEndpoint>& editors)
{
    std::string text;
    for (const RemoteEndpoint& editor : editors) {
        const auto reply = Call(editor.path, {kRemoteControlMessage, 2, 0, {}}, kListTimeoutMs);
        text += std::to_string(editor.pid) + "\t" + (reply ? reply->text : std::string()) + "\n";
    }
    return text;
}

// A number in C syntax up to limit; where negative numbers are allowed (wide), a leading
// "-" counts from 2^64 down.
uint64_t Number(const std::string& text, const char* what, uint64_t limit = UINT64_MAX)
{
    const bool negative = !text.empty() && text[0] == '-';
    const auto value = ParseCliNumber(negative ? text.substr(1) : text);
    if (!value || *value > limit || (negative && (limit != UINT64_MAX || *value > (uint64_t{1} << 63))))
        throw UsageError(std::string(what) + ": keine passende Zahl: " + text);
    return negative ? 0 - *value : *value;
}

// An absolute path with its terminating zero; paths travel in UTF-8 as the system has them.
std::string PathBlock(const std::string& name)
{
    return FullPath(name) + '\0';
}

std::string Utf16Block(const std::string& text)
{
    std::string block;
    for (char16_t c : Utf8ToUtf16(text) + u'\0') {
        block += static_cast<char>(c & 0xFF);
        block += static_cast<char>(c >> 8);
    }
    return block;
}

void Expect(const std::vector<std::string>& words, size_t least, size_t most)
{
    if (words.size() < least + 1 || words.size() > most + 1)
        throw UsageError("falsche Zahl von Argumenten für \"" + words[0] + "\"");
}

int RunSubcommand(const RemoteEndpoint& editor, const std::vector<std::string>& words, bool utf16)
{
    const std::string& sub = words[0];
    if (utf16 && sub != "send-text") throw UsageError("--utf16 gilt nur für send-text");
    if (sub == "close") {
        Expect(words, 0, 0);
        return CallOrFail(editor, {kRemoteControlMessage, 0, 0, {}}, kQueryTimeoutMs).result ? 0 : 1;
    }
    if (sub == "path" || sub == "text") {
        Expect(words, 0, 0);
        const RemoteReply reply =
            CallOrFail(editor, {kRemoteControlMessage, sub == "path" ? 2u : 4u, 0, {}}, kQueryTimeoutMs);
        std::cout << reply.text << "\n";
        return 0;
    }
    if (sub == "open") {
        Expect(words, 1, 1);
        const RemoteReply reply =
            CallOrFail(editor, {kCopyDataMessage, 0, kCopyDataOpenFile, PathBlock(words[1])}, kNoTimeout);
        if (reply.result) return 0;
        std::cerr << "quarnival-cli remote: " << words[1] << " ist nicht geöffnet.\n";
        return 1;
    }
    if (sub == "compare") {
        Expect(words, 1, 1);
        const RemoteReply reply =
            CallOrFail(editor, {kCopyDataMessage, 0, kCopyDataComparePath, PathBlock(words[1])}, kQueryTimeoutMs);
        std::cout << (reply.result ? 1 : 0) << "\n";
        return reply.result ? 0 : 1;
    }
    if (sub == "send-text") {
        Expect(words, 1, 1);
        const uint32_t code = utf16 ? kCopyDataPathText | kCopyDataUtf16 : kCopyDataPathText;
        const std::string block = utf16 ? Utf16Block(words[1]) : words[1] + '\0';
        if (block.size() > kRemoteMaxData) throw UsageError("der Text ist länger als 64 KiB");
        return CallOrFail(editor, {kCopyDataMessage, 0, code, block}, kQueryTimeoutMs).result ? 0 : 1;
    }
    if (sub == "select") {
        Expect(words, 1, 2);
        const uint64_t offset = Number(words[1], "OFFSET");
        const uint64_t length = words.size() > 2 ? Number(words[2], "LAENGE", 0xFFFF) : 0;
        CallOrFail(editor, {kSelectRangeMessage, offset, length << 16, {}}, kQueryTimeoutMs);
        return 0;
    }
    if (sub == "view") {
        Expect(words, 1, 2);
        const uint64_t select = Number(words[1], "UNTERBEFEHL", 0xFFFFFFFF);
        const uint64_t argument = words.size() > 2 ? Number(words[2], "ARG") : 0;
        const RemoteReply reply = CallOrFail(editor, {kViewControlMessage, select, argument, {}}, kQueryTimeoutMs);
        // Offsets, lengths and addresses: unsigned, all 64 bits.
        std::cout << static_cast<uint64_t>(reply.result) << "\n";
        return 0;
    }
    if (sub == "line") {
        Expect(words, 3, 3);
        const uint64_t select = Number(words[1], "UNTERBEFEHL", 0xFFFFFFFF);
        const uint64_t packed = Number(words[2], "SPALTE", 0xFFFF) | (Number(words[3], "ZEILE", 0xFFFF) << 16);
        const RemoteReply reply = CallOrFail(editor, {kLineViewControlMessage, select, packed, {}}, kQueryTimeoutMs);
        const auto result = static_cast<uint32_t>(reply.result);
        std::cout << (result & 0xFFFF) << " " << (result >> 16) << "\n";
        return 0;
    }
    if (sub == "command") {
        Expect(words, 1, 1);
        const uint64_t command = Number(words[1], "NUMMER", 0xFFFFFFFF);
        if (CallOrFail(editor, {kRemoteCommandMessage, command, 0, {}}, kNoTimeout).result) return 0;
        std::cerr << "quarnival-cli remote: Befehl " << words[1]
                  << " wurde nicht ausgeführt (gesperrt oder unbekannt).\n";
        return 1;
    }
    throw UsageError("unbekannter Unterbefehl \"" + sub + "\"");
}

int RunRemote(const std::vector<std::string>& argList)
{
    CliArgs args(argList, {"pid"}, {"utf16"});
    const std::vector<std::string>& words = args.Positional();
    if (words.empty()) throw UsageError("Unterbefehl fehlt");
    if (words[0] == "list") {
        if (words.size() != 1 || args.Has("pid") || args.Has("utf16")) throw UsageError("list nimmt keine Argumente");
        std::cout << ListText(RunningEditors());
        return 0;
    }
    const std::vector<RemoteEndpoint> editors = RunningEditors();
    RemoteEndpoint editor;
    if (const auto pid = args.Number("pid")) {
        for (const RemoteEndpoint& candidate : editors)
            if (static_cast<uint64_t>(candidate.pid) == *pid) editor = candidate;
        if (editor.pid == 0)
            throw Failure("Kein Quarnival dieses Benutzers läuft als Prozess " + std::to_string(*pid) + ".");
    } else if (editors.size() == 1) {
        editor = editors[0];
    } else {
        std::cerr << "quarnival-cli remote: "
                  << (editors.empty() ? "Kein Quarnival läuft." : "Mehrere Quarnival laufen; --pid wählt eines:") << "\n"
                  << ListText(editors);
        return 2;
    }
    return RunSubcommand(editor, words, args.Has("utf16"));
}

}  // namespace
}  // namespace qv::cli

QV_CLI_COMMAND("remote", qv::cli::kUsage, qv::cli::RunRemote);
