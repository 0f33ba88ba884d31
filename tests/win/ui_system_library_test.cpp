// DLLs loaded while the program runs come from the system folder alone. planted.dll lies beside the
// test program, where a plain load finds it.
#include <gtest/gtest.h>

#include "ui/module_path.h"
#include "ui/system_library.h"
#include "ui/text_conversion.h"

#include <string>

namespace {

constexpr const wchar_t* kPlanted = L"planted.dll";

// Shows that planted.dll is really there, so that a load that misses it proves something.
void ExpectPlainLoadFindsPlanted() {
    HMODULE plain = LoadLibraryW(kPlanted);
    ASSERT_NE(nullptr, plain) << "planted.dll is not beside the test program";
    FreeLibrary(plain);
}

// A system DLL loads by its name or its path in the system folder, its functions are found typed by
// name, and it leaves the process with its owner. The program's folder is never searched, and a name
// with a folder in it is refused.
TEST(SystemLibrary, LoadsFromTheSystemFolderAlone) {
    // msimg32 is a system DLL that nothing else in the test program loads.
    using GradientFillFunction = BOOL(WINAPI*)(HDC, TRIVERTEX*, ULONG, void*, ULONG, ULONG);
    ASSERT_EQ(nullptr, GetModuleHandleW(L"msimg32.dll"));
    {
        const ui::UniqueLibrary library = ui::LoadSystemLibrary(L"msimg32.dll");
        ASSERT_TRUE(library);
        EXPECT_NE(nullptr, ui::FindFunction<GradientFillFunction>(library.get(), "GradientFill"));
        EXPECT_EQ(nullptr, ui::FindFunction<GradientFillFunction>(library.get(), "NoSuchFunction"));
        EXPECT_TRUE(ui::LoadSystemLibraryByPath(L"msimg32.dll"));
    }
    EXPECT_EQ(nullptr, GetModuleHandleW(L"msimg32.dll"));
    EXPECT_EQ(nullptr, ui::FindFunction<GradientFillFunction>(nullptr, "GradientFill"));

    ExpectPlainLoadFindsPlanted();
    const std::wstring module = ui::WideModuleFileName();
    const std::wstring besideProgram = module.substr(0, module.rfind(L'\\') + 1) + kPlanted;
    for (const wchar_t* name : {kPlanted, besideProgram.c_str(), L"no-such-library.dll", L""}) {
        EXPECT_FALSE(ui::LoadSystemLibrary(name)) << ui::ToShiftJis(name);
        EXPECT_FALSE(ui::LoadSystemLibraryByPath(name)) << ui::ToShiftJis(name);
    }
}

// After the restriction even a plain load by name no longer looks in the program's folder. It lasts
// for the rest of the process.
TEST(SystemLibrary, RestrictionKeepsPlainLoadsOutOfTheProgramsFolder) {
    ExpectPlainLoadFindsPlanted();
    ASSERT_TRUE(ui::RestrictDllSearchToSystemFolder());
    EXPECT_EQ(nullptr, LoadLibraryW(kPlanted));
    EXPECT_NE(nullptr, LoadLibraryW(L"msimg32.dll"));
}

}  // namespace
