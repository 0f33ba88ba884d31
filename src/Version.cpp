#include "Version.h"

#include "core/version_path.h"
#include "ui/module_path.h"
#include "ui/system_library.h"
#include "ui/text_conversion.h"
#include "wide_path.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

TVerForm* VerForm = nullptr;

namespace {

constexpr COLORREF kNavy = 0x00800000;

// The functions of version.dll that read a file's version information. Windows may take version.dll
// from the program's folder if it were imported, so it is loaded from the system folder at each
// reading; without it the labels keep what they show.
struct VersionFunctions {
    using SizeFunction = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
    using InfoFunction = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
    using QueryFunction = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);

    explicit VersionFunctions(const wchar_t* libraryName)
        : library(ui::LoadSystemLibrary(libraryName)),
          size(ui::FindFunction<SizeFunction>(library.get(), "GetFileVersionInfoSizeW")),
          info(ui::FindFunction<InfoFunction>(library.get(), "GetFileVersionInfoW")),
          query(ui::FindFunction<QueryFunction>(library.get(), "VerQueryValueW")) {}

    bool Found() const { return size && info && query; }

    ui::UniqueLibrary library;
    SizeFunction size;
    InfoFunction info;
    QueryFunction query;
};

struct RawValue {
    const unsigned char* data;
    std::size_t bytesToEnd;  // from data to the end of the information
    UINT length;             // as the version functions report it
};

// A value found in the version information; nothing when the path is missing or the value does not
// lie within the information, so it is never read through a stray pointer.
std::optional<RawValue> QueryValue(const VersionFunctions& version, const std::vector<unsigned char>& info,
                                   const std::string& path) {
    void* value = nullptr;
    UINT length = 0;
    // The wide form: the information's strings are UTF-16, and the ANSI form would pass them through
    // the system's code page.
    if (!version.query(info.data(), ui::ToWide(path).c_str(), &value, &length) || value == nullptr) {
        return std::nullopt;
    }
    const auto* data = static_cast<const unsigned char*>(value);
    const unsigned char* end = info.data() + info.size();
    if (data < info.data() || data >= end) return std::nullopt;
    return RawValue{data, static_cast<std::size_t>(end - data), length};
}

// The first translation as one little-endian number: the language in the low 16 bits, the code page
// in the high 16.
std::optional<std::uint32_t> FirstTranslation(const VersionFunctions& version, const std::vector<unsigned char>& info) {
    const std::optional<RawValue> value = QueryValue(version, info, "\\VarFileInfo\\Translation");
    if (!value || value->length < 4 || value->bytesToEnd < 4) return std::nullopt;
    const unsigned char* b = value->data;
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

// A NUL-terminated string value as Shift_JIS, never read past the end of the information.
std::optional<std::string> QueryString(const VersionFunctions& version, const std::vector<unsigned char>& info,
                                       const std::string& path) {
    const std::optional<RawValue> value = QueryValue(version, info, path);
    if (!value) return std::nullopt;
    std::wstring rest(value->bytesToEnd / sizeof(wchar_t), L'\0');
    std::memcpy(rest.data(), value->data, rest.size() * sizeof(wchar_t));
    return ui::ToShiftJis(rest.substr(0, rest.find(L'\0')));
}

}  // namespace

TVerForm::TVerForm(ui::Form* Owner)
    : ui::Form({.caption = "バージョン情報",
                .width = 279,
                .height = 165,
                // Sizeable, with the system menu and the close box only.
                .style = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                .owner = Owner,
                .centreOnOwnerAtFirstShow = true,
                // The program's icon in the title bar, as in the main window.
                .iconResource = "MAINICON"}),
      Panel1(*this, {.align = ui::Align::Client, .bevel = ui::Bevel::Raised}),
      VersionLabel(Panel1, {.left = 132, .top = 11, .caption = "VersionLabel"}),
      CompanyName(Panel1, {.left = 8, .top = 40, .caption = "CompanyName"}),
      CopyrightLabel(Panel1, {.left = 8, .top = 56, .caption = "CopyrightLabel"}),
      ProductLabel(Panel1, {.left = 8,
                            .top = 8,
                            .caption = "ProductLabel",
                            .font = ui::FontDescription{.face = ui::kProportionalGothic, .points = 11, .bold = true},
                            .textColor = kNavy}),
      Comments(Panel1, {.left = 8, .top = 80, .caption = "Comments"}),
      Button1(Panel1, {.bounds = {184, 96, 75, 25}, .caption = "OK"}),
      Label1(Panel1, {.left = 108, .top = 11, .caption = "Ver."}) {
    OnShow = [this](ui::Object* Sender) { FormShow(Sender); };
    Button1.OnClick = [this](ui::Object* Sender) { Button1Click(Sender); };
}

void TVerForm::FormShow(ui::Object* /*Sender*/) { ReadVersionInfo(ui::WideModuleFileName()); }

void TVerForm::ReadVersionInfo(const std::string& modulePath) { ReadVersionInfo(WidePath(modulePath)); }

void TVerForm::ReadVersionInfo(const std::wstring& modulePath, const wchar_t* versionLibrary) {
    const VersionFunctions version(versionLibrary);
    if (!version.Found()) return;
    DWORD unused = 0;
    const DWORD size = version.size(modulePath.c_str(), &unused);
    if (size == 0) return;
    std::vector<unsigned char> info(size);
    if (!version.info(modulePath.c_str(), 0, size, info.data())) return;

    const std::optional<std::uint32_t> translation = FirstTranslation(version, info);
    if (!translation) return;

    const struct {
        const char* key;
        ui::Label& label;
    } fields[] = {
        {"FileVersion", VersionLabel}, {"CompanyName", CompanyName}, {"LegalCopyright", CopyrightLabel},
        {"ProductName", ProductLabel}, {"Comments", Comments},
    };
    for (const auto& field : fields) {
        // A key the resource lacks leaves its label as it was.
        if (const auto value = QueryString(version, info, core::VersionQueryPath(*translation, field.key))) {
            field.label.SetCaption(*value);
        }
    }
}

void TVerForm::Button1Click(ui::Object* /*Sender*/) { Close(); }
