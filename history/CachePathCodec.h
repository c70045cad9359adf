// File-cache paths between the store and the cache file. The store keeps paths as the program
// does (UTF-8); the cache file keeps them as 8-bit text in the system's code page, in a field of
// 256 bytes, as earlier versions wrote them.
#pragma once

#include <optional>
#include <string>

class ICachePathCodec {
public:
    virtual ~ICachePathCodec() = default;
    // The stored bytes of `path`, or nothing when the code page cannot hold it. Such an entry
    // (like one whose stored bytes overflow the field) is left out of the file: the next full
    // import looks at that file again, and its hands, already counted by number, are not counted
    // twice.
    [[nodiscard]] virtual std::optional<std::string> Encode(const std::string& path) const = 0;
    // The path stored as `stored`, in the store's form.
    [[nodiscard]] virtual std::string Decode(const std::string& stored) const = 0;
};

// The system code page (ANSI on Windows; bytes unchanged elsewhere).
[[nodiscard]] const ICachePathCodec& SystemCachePathCodec();
