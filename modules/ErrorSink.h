// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Collects the error and warning lines of module loads ("Fehler(12)\tUnbekannter Befehl\r\n")
// as Windows-1252 text, to be shown on request.
#include <string>
#include <string_view>

namespace qv {

class ErrorSink {
public:
    void Append(std::string_view line) { text_.append(line); }
    const std::string& Text() const { return text_; }
    void Clear() { text_.clear(); }

private:
    std::string text_;
};

}  // namespace qv
