// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Cryptographic hashes of a byte range (MD5, the SHA-1, SHA-2 and SHA-3 families, BLAKE2b)
// through OpenSSL's EVP interface, which picks the processor's hash instructions where it
// has them. Several hashes are computed in one pass over the bytes.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/LongTask.h"
#include "view/ByteSource.h"

namespace qv {

enum class HashAlgorithm { Md5, Sha1, Sha224, Sha256, Sha384, Sha512, Sha3_256, Blake2b512 };
inline constexpr size_t kHashAlgorithmCount = 8;

struct HashAlgorithmInfo {
    HashAlgorithm algorithm;
    const char* name;   // as the command line takes it: "sha256"
    const char* label;  // as the dialog shows it: "SHA-256"
};

// Every algorithm, in the order the dialog lists them.
const std::array<HashAlgorithmInfo, kHashAlgorithmCount>& HashAlgorithms();
const HashAlgorithmInfo& InfoOf(HashAlgorithm algorithm);
std::optional<HashAlgorithm> FindHashAlgorithm(std::string_view name);

// Feeds the same bytes to several hashes.
class HashSet {
public:
    explicit HashSet(const std::vector<HashAlgorithm>& algorithms);
    ~HashSet();
    HashSet(const HashSet&) = delete;
    HashSet& operator=(const HashSet&) = delete;

    void Update(std::span<const uint8_t> bytes);
    // The digests as lower-case hex, in the order of the algorithms; the set is spent then.
    std::vector<std::string> FinishHex();

private:
    struct Context;
    std::vector<std::unique_ptr<Context>> contexts_;
};

// Windows of this size are read from the source one after another: large enough that the
// per-call costs vanish, small enough to report progress and to notice a cancel quickly.
inline constexpr int64_t kHashChunk = int64_t{4} << 20;

// The digests of [offset, offset + length) of the source (cut at its end), reporting
// progress per chunk; nothing when the work was cancelled.
std::optional<std::vector<std::string>> HashRange(const IByteSource& source, int64_t offset, int64_t length,
                                                  const std::vector<HashAlgorithm>& algorithms,
                                                  TaskProgress& progress);

}  // namespace qv
