#include <clocale>
#include <cstdio>

// Until the main window exists the program only says what it is.
int main() {
    std::setlocale(LC_ALL, "");
    std::puts("Orvel 2.0.1: the data store is built; the main window is not part of this build yet.");
    return 0;
}
