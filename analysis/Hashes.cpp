// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/Hashes.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include <openssl/evp.h>

namespace qv {
namespace {

const EVP_MD* DigestOf(HashAlgorithm algorithm)
{
    switch (algorithm) {
    case HashAlgorithm::Md5: return EVP_md5();
    case HashAlgorithm::Sha1: return EVP_sha1();
    case HashAlgorithm::Sha224: return EVP_sha224();
    case HashAlgorithm::Sha256: return EVP_sha256();
    case HashAlgorithm::Sha384: return EVP_sha384();
    case HashAlgorithm::Sha512: return EVP_sha512();
    case HashAlgorithm::Sha3_256: return EVP_sha3_256();
    case HashAlgorithm::Blake2b512: return EVP_blake2b512();
    }
    return nullptr;
}

std::string Hex(const unsigned char* bytes, unsigned length)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(2 * length, '0');
    for (unsigned i = 0; i < length; ++i) {
        text[2 * i] = kDigits[bytes[i] >> 4];
        text[2 * i + 1] = kDigits[bytes[i] & 15];
    }
    return text;
}

}  // namespace

const std::array<HashAlgorithmInfo, kHashAlgorithmCount>& HashAlgorithms()
{
    static const std::array<HashAlgorithmInfo, kHashAlgorithmCount> algorithms = {{
        {HashAlgorithm::Md5, "md5", "MD5"},
        {HashAlgorithm::Sha1, "sha1", "SHA-1"},
        {HashAlgorithm::Sha224, "sha224", "SHA-224"},
        {HashAlgorithm::Sha256, "sha256", "SHA-256"},
        {HashAlgorithm::Sha384, "sha384", "SHA-384"},
        {HashAlgorithm::Sha512, "sha512", "SHA-512"},
        {HashAlgorithm::Sha3_256, "sha3-256", "SHA3-256"},
        {HashAlgorithm::Blake2b512, "blake2b-512", "BLAKE2b-512"},
    }};
    return algorithms;
}

const HashAlgorithmInfo& InfoOf(HashAlgorithm algorithm)
{
    return HashAlgorithms()[static_cast<size_t>(algorithm)];
}

std::optional<HashAlgorithm> FindHashAlgorithm(std::string_view name)
{
    for (const HashAlgorithmInfo& info : HashAlgorithms())
        if (name == info.name) return info.algorithm;
    return std::nullopt;
}

struct HashSet::Context {
    explicit Context(HashAlgorithm algorithm) : context(EVP_MD_CTX_new())
    {
        if (!context) throw std::bad_alloc();
        // Only an OpenSSL built without the algorithm (or a FIPS provider refusing MD5) fails here.
        if (EVP_DigestInit_ex(context, DigestOf(algorithm), nullptr) != 1)
            throw std::runtime_error(std::string("Die Bibliothek libcrypto kennt den Hash ") + InfoOf(algorithm).label +
                                     " nicht.");
    }
    ~Context() { EVP_MD_CTX_free(context); }
    EVP_MD_CTX* context;
};

HashSet::HashSet(const std::vector<HashAlgorithm>& algorithms)
{
    for (HashAlgorithm algorithm : algorithms) contexts_.push_back(std::make_unique<Context>(algorithm));
}

HashSet::~HashSet() = default;

void HashSet::Update(std::span<const uint8_t> bytes)
{
    for (auto& context : contexts_) EVP_DigestUpdate(context->context, bytes.data(), bytes.size());
}

std::vector<std::string> HashSet::FinishHex()
{
    std::vector<std::string> digests;
    for (auto& context : contexts_) {
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned length = 0;
        EVP_DigestFinal_ex(context->context, digest, &length);
        digests.push_back(Hex(digest, length));
    }
    return digests;
}

std::optional<std::vector<std::string>> HashRange(const IByteSource& source, int64_t offset, int64_t length,
                                                  const std::vector<HashAlgorithm>& algorithms,
                                                  TaskProgress& progress)
{
    HashSet hashes(algorithms);
    const int64_t total = std::max<int64_t>(0, std::min(length, source.Size() - offset));
    progress.Report(0, total);
    const bool complete = ForEachWindow(source, offset, total, kHashChunk, [&](int64_t at, std::span<const uint8_t> bytes) {
        if (progress.Cancelled()) return false;
        hashes.Update(bytes);
        progress.Report(at - offset + static_cast<int64_t>(bytes.size()), total);
        return true;
    });
    if (!complete || progress.Cancelled()) return std::nullopt;
    return hashes.FinishHex();
}

}  // namespace qv
