// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/StandardOutput.h"

#include <cerrno>
#include <csignal>
#include <iostream>
#include <cstdlib>
#include <string>
#include <streambuf>
#include <unistd.h>
#include <vector>

#include "cli/SystemErrorText.h"

namespace qv::cli {

namespace {

std::string& CommandName()
{
    static std::string name;
    return name;
}

int& FailureCode()
{
    static int code = 1;
    return code;
}

// Output that cannot be written ends the command at once: whatever it would still do
// could not be shown, and a script must not take the cut output for a result.
[[noreturn]] void FailAndExit(int error)
{
    const std::string& name = CommandName();
    std::cerr << "quarnival-cli" << (name.empty() ? "" : " ") << name
              << ": Die Ausgabe kann nicht geschrieben werden. " << SystemErrorText(error) << std::endl;
    std::_Exit(FailureCode());
}

class DescriptorBuffer : public std::streambuf {
public:
    explicit DescriptorBuffer(int fd) : fd_(fd), buffer_(kSize) { setp(buffer_.data(), buffer_.data() + kSize); }

    void Flush()
    {
        WriteAll(pbase(), static_cast<size_t>(pptr() - pbase()));
        Discard();
    }

    void Discard() { setp(buffer_.data(), buffer_.data() + kSize); }

protected:
    int_type overflow(int_type ch) override
    {
        Flush();
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }

    // Pieces larger than the buffer go out directly, without a copy.
    std::streamsize xsputn(const char* text, std::streamsize count) override
    {
        const auto size = static_cast<size_t>(count);
        if (size <= static_cast<size_t>(epptr() - pptr())) {
            traits_type::copy(pptr(), text, size);
            pbump(static_cast<int>(count));
        } else {
            Flush();
            if (size < kSize) return xsputn(text, count);
            WriteAll(text, size);
        }
        return count;
    }

    int sync() override
    {
        Flush();
        return 0;
    }

private:
    static constexpr size_t kSize = 1 << 20;

    void WriteAll(const char* data, size_t size)
    {
        while (size > 0) {
            const ssize_t written = ::write(fd_, data, size);
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) FailAndExit(written < 0 ? errno : ENOSPC);
            data += written;
            size -= static_cast<size_t>(written);
        }
    }

    int fd_;
    std::vector<char> buffer_;
};

// Never destroyed: std::cout is flushed by the library after the program's static objects
// are gone, and must still find its buffer then.
DescriptorBuffer& Buffer()
{
    static auto* const buffer = new DescriptorBuffer(STDOUT_FILENO);
    return *buffer;
}

}  // namespace

void InstallStandardOutput()
{
    std::signal(SIGPIPE, SIG_IGN);
    std::ios::sync_with_stdio(false);
    std::cout.rdbuf(&Buffer());
    // Messages are not held back until the results are written.
    std::cerr.tie(nullptr);
}

void SetOutputCommandName(const std::string& name)
{
    CommandName() = name;
}

void SetOutputFailureCode(int code)
{
    FailureCode() = code;
}

int OutputFailureCode()
{
    return FailureCode();
}

void FlushStandardOutput()
{
    Buffer().Flush();
}

void DiscardStandardOutput()
{
    Buffer().Discard();
}

}  // namespace qv::cli
