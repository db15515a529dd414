// Writes the manual page: generate_manpage FILE DATE (DATE as YYYY-MM-DD).
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/OptionTable.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: generate_manpage FILE YYYY-MM-DD\n");
        return 2;
    }
    const std::filesystem::path file = argv[1];
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
    const std::filesystem::path tmp = file.string() + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out << vw::app::manPage(argv[2]);
        if (!out.flush()) {
            std::fprintf(stderr, "generate_manpage: cannot write %s\n", tmp.c_str());
            return 1;
        }
    }
    std::filesystem::rename(tmp, file);
    return 0;
}
