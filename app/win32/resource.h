#pragma once
// Resource ids of the program's executable.

#define IDI_LOG2PLT 1
