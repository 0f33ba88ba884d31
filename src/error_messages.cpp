#include "error_messages.h"

#include "core/text_store.h"

namespace {

constexpr const char* kOutOfMemory = "メモリが不足しています。受信テキストをファイルに保存してからクリアしてください";
constexpr const char* kPageFileUnreadable = "一時ファイルから受信テキストを読み込めませんでした";
constexpr const char* kInternalError = "内部エラーが発生しました";
constexpr const wchar_t* kOutOfMemoryAlone = L"メモリが不足しています。";

std::optional<std::string> DescribeProgramFailure(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const core::PageReadError&) {
        return kPageFileUnreadable;
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace

ui::ErrorBoxTexts ProgramErrorBoxTexts() {
    return {.outOfMemory = kOutOfMemory,
            .internalError = kInternalError,
            .outOfMemoryAlone = kOutOfMemoryAlone,
            .describe = &DescribeProgramFailure};
}
