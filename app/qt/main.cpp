// log2plt-gui: the Linux desktop program.

#include "app/qt/program_start.h"

int main(int argc, char** argv) { return log2plt::qt::RunProgram(argc, argv); }
