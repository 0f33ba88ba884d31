// resgen OUTPUT_DIR: writes varnedo.ico and logo.bmp, the pictures of the program's resources.
#include "artwork.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

void WriteFile(const std::filesystem::path& path, const resgen::Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
    std::cout << path.string() << ": " << bytes.size() << " bytes\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: resgen OUTPUT_DIR\n";
        return 2;
    }
    try {
        const std::filesystem::path directory = argv[1];
        WriteFile(directory / "varnedo.ico", resgen::IconFile());
        WriteFile(directory / "logo.bmp", resgen::LogoFile());
    } catch (const std::exception& error) {
        std::cerr << "resgen: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
