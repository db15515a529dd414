#include <iostream>
#include <string>
#include <vector>

#include "app/Cli.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return vw::app::runCli(args, std::cout, std::cerr);
}
