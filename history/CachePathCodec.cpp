#include "history/CachePathCodec.h"

#include "platform/SystemText.h"

namespace {

class CSystemCachePathCodec final : public ICachePathCodec {
public:
    [[nodiscard]] std::optional<std::string> Encode(const std::string& path) const override {
        return Utf8ToSystemCodePage(path);
    }
    [[nodiscard]] std::string Decode(const std::string& stored) const override {
        return SystemCodePageToUtf8(stored);
    }
};

}  // namespace

const ICachePathCodec& SystemCachePathCodec() {
    static const CSystemCachePathCodec codec;
    return codec;
}
