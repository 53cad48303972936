// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli compare: the runs of differing bytes of two files, as the editor's compare
// finds them. Exit codes as cmp: 0 equal, 1 different, 2 trouble (also an unreadable file).
#include <algorithm>
#include <bit>
#include <iostream>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/InputFile.h"
#include "cli/StandardOutput.h"
#include "compare/DiffFinder.h"

namespace qv::cli {
namespace {

constexpr int kEqual = 0;
constexpr int kDifferent = 1;
constexpr int kTrouble = 2;

// Collects the output lines in a buffer of its own: a compare of two files with a change
// every few bytes writes millions of lines.
class RunWriter {
public:
    explicit RunWriter(bool json) : json_(json), text_(kFlushAt + kLongestLine) {}

    void Add(int64_t start, int64_t length)
    {
        char* p = text_.data() + used_;
        if (json_) {
            p = Append(p, count_ == 0 ? "[\n{\"start\":" : ",\n{\"start\":");
            p = AppendDecimal(p, static_cast<uint64_t>(start));
            p = Append(p, ",\"length\":");
            p = AppendDecimal(p, static_cast<uint64_t>(length));
            *p++ = '}';
        } else {
            p = Append(p, "0x");
            p = AppendHex(p, static_cast<uint64_t>(start));
            p = Append(p, "  ");
            p = AppendDecimal(p, static_cast<uint64_t>(length));
            *p++ = '\n';
        }
        used_ = static_cast<size_t>(p - text_.data());
        ++count_;
        if (used_ >= kFlushAt) Flush();
    }

    int64_t Count() const { return count_; }

    void Finish()
    {
        if (json_) used_ = static_cast<size_t>(Append(text_.data() + used_, count_ == 0 ? "[]\n" : "\n]\n") - text_.data());
        Flush();
    }

private:
    // As large as the output's own buffer, so that the pieces go out without another copy.
    static constexpr size_t kFlushAt = size_t{1} << 20;
    static constexpr size_t kLongestLine = 80;  // two 19-digit numbers and the JSON around them

    static char* Append(char* out, std::string_view text)
    {
        return std::copy(text.begin(), text.end(), out);
    }

    static char* AppendDecimal(char* out, uint64_t value)
    {
        char digits[20];
        int n = 0;
        do {
            digits[n++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        while (n > 0) *out++ = digits[--n];
        return out;
    }

    // Upper-case hex, at least 8 digits.
    static char* AppendHex(char* out, uint64_t value)
    {
        const int digits = std::max(8, static_cast<int>(std::bit_width(value) + 3) / 4);
        for (int k = digits - 1; k >= 0; --k, value >>= 4) out[k] = "0123456789ABCDEF"[value & 0xF];
        return out + digits;
    }

    void Flush()
    {
        std::cout.write(text_.data(), static_cast<std::streamsize>(used_));
        used_ = 0;
    }

    bool json_;
    std::vector<char> text_;
    size_t used_ = 0;
    int64_t count_ = 0;
};

int64_t StartOption(const CliArgs& args, const std::string& option, const InputFile& file, const std::string& path)
{
    const uint64_t start = args.Number(option).value_or(0);
    if (start > file.Size())
        throw UsageError("--" + option + " liegt hinter dem Ende von \"" + path + "\" (" + std::to_string(file.Size()) +
                         " Bytes)");
    return static_cast<int64_t>(start);
}

int Compare(const CliArgs& args)
{
    const std::string& leftPath = args.Positional()[0];
    const std::string& rightPath = args.Positional()[1];
    const InputFile left(leftPath);
    const InputFile right(rightPath);

    CompareAlignment alignment;
    alignment.leftStart = StartOption(args, "offset", left, leftPath);
    alignment.rightStart = StartOption(args, "offset2", right, rightPath);
    if (auto length = args.Number("length")) alignment.limit = static_cast<int64_t>(std::min<uint64_t>(*length, INT64_MAX));
    const auto max = args.Number("max");

    const BlockByteSource leftBytes(left.Data(), static_cast<int64_t>(left.Size()));
    const BlockByteSource rightBytes(right.Data(), static_cast<int64_t>(right.Size()));
    const DiffFinder finder(leftBytes, rightBytes, alignment);
    const auto willRead = [&](const InputFile& file, int64_t start) {
        const uint64_t length = std::min<uint64_t>(file.Size() - static_cast<uint64_t>(start),
                                                   static_cast<uint64_t>(finder.Span()));
        file.WillRead(file.Data() + start, length);
    };
    willRead(left, alignment.leftStart);
    willRead(right, alignment.rightStart);

    // Without room for a run, only the answer counts (as cmp -s).
    if (max && *max == 0) return finder.NextDifference(0) < finder.Span() ? kDifferent : kEqual;

    RunWriter writer(args.Has("json"));
    uint64_t runs = 0;
    finder.ForEachRun(0, [&](const DiffRun& run) {
        writer.Add(finder.LeftOffset(run.start), run.length);
        return !max || ++runs < *max;
    });
    writer.Finish();
    return writer.Count() > 0 ? kDifferent : kEqual;
}

int RunCompare(const std::vector<std::string>& argList)
{
    const CliArgs args(argList, {"offset", "offset2", "length", "max"}, {"json"});
    if (args.Positional().size() != 2) throw UsageError("zwei Dateien erwartet");
    SetOutputFailureCode(kTrouble);
    // Every other failure (an unreadable file, too little memory) is trouble as well.
    try {
        return Compare(args);
    } catch (const UsageError&) {
        throw;
    } catch (const std::bad_alloc&) {
        std::cerr << "quarnival-cli compare: Der Arbeitsspeicher reicht für diesen Befehl nicht aus.\n";
    } catch (const std::exception& error) {
        std::cerr << "quarnival-cli compare: " << error.what() << "\n";
    }
    return kTrouble;
}

}  // namespace

QV_CLI_COMMAND_FAILURE("compare", "compare DATEI1 DATEI2 [--offset X] [--offset2 Y] [--length L] [--max N] [--json]",
                       "die Dateien unterscheiden sich (eine nicht lesbare Datei endet mit 2)", RunCompare);

}  // namespace qv::cli
