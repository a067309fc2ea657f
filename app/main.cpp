#include <clocale>

#include "app/Startup.h"
#include "lang/DlgLangConverter.h"

// The program reads no command-line parameter of its own.
int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    TOrvelApplication app(argc, argv);
    InstallProgramServices();
    return RunProgram(app, lang::LanguageFileName());
}
