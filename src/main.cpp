#include "app/Application.h"

int main(int argc, char** argv) { return varrow::app::run(argc, argv); }
