#include "app/Application.h"
#include "app/CommandLine.h"

int main(int argc, char** argv) {
    if (const auto status = varrow::app::CommandLine::run(argc, argv)) return *status;
    return varrow::app::run(argc, argv);
}
