// Writes a few small archives of every kind the writer makes into the folder given.
#include "unlha32/lha_writer.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    struct Seed {
        const char* file;
        std::vector<std::pair<std::string, std::string>> entries; // name, data
    };
    std::string text;
    for (int i = 0; i < 400; ++i)
        text += "<PAGE>\r\nえほん " + std::to_string(i % 37) + "\r\n";
    std::string noise;
    unsigned x = 1;
    for (int i = 0; i < 3000; ++i)
        noise.push_back(static_cast<char>((x = x * 1103515245u + 12345u) >> 24));
    const Seed seeds[] = {
        { "text.lzh", { { "book.pmk", text } } },
        { "mixed.lzh",
            { { "a/b/ソ表.txt", text.substr(0, 900) }, { "noise.bin", noise }, { "e", "" } } },
        { "zeros.lzh", { { "z", std::string(70000, '\0') } } },
        { "dir.lzh", { { "folder", "" } } },
    };
    for (const Seed& seed : seeds) {
        std::string bytes, error;
        for (const auto& [name, data] : seed.entries) {
            bool folder = std::string(seed.file) == "dir.lzh";
            unlha::EncodeEntry(name, folder, 946684800,
                reinterpret_cast<const uint8_t*>(data.data()), data.size(), false, &bytes, &error);
        }
        bytes.push_back('\0');
        std::string path = std::string(argv[1]) + "/" + seed.file;
        if (FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
    }
    return 0;
}
