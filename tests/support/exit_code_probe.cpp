// Exits with the code given as its argument: shows that the Wine runner hands a
// program's exit code through unchanged.

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    return argc > 1 ? static_cast<int>(std::wcstol(argv[1], nullptr, 10)) : 0;
}
