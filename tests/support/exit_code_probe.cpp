// Exits with the code given as its argument: shows that the Wine runner hands a
// program's exit code through unchanged.

#include <cstdlib>

int main(int argc, char** argv) {
    return argc > 1 ? std::atoi(argv[1]) : 0;
}
