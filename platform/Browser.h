#pragma once
#include <string>
#include <vector>

namespace platform {

// Opening web pages and mail links with the desktop's own programs, found the freedesktop way:
// the default application of a content type in the "mimeapps.list" files of the XDG
// configuration and data folders (then the installed programs that declare the type in
// "mimeinfo.cache"), started by the whole Exec line of its desktop entry with its field codes
// filled in, without a shell.

// The program (a path, or a name to look up on PATH) of the default application for a content
// type such as "x-scheme-handler/http": the first word of its command; empty when none is known.
std::string DefaultApplicationProgram(const std::string& contentType);

// What a desktop entry says of itself beyond its Exec line, for the field codes %i, %c and %k.
struct TDesktopEntryFields {
    std::string Icon, Name, Path;
};

// The command line that opens the address, from an Exec value as the Desktop Entry
// Specification reads it: the value's escapes (\s, \n, \t, \r, \\) undone, split at blanks
// outside double quotes (inside them \", \`, \$ and \\ stand for the character), then the
// field codes: %u, %U, %f and %F the address, %i "--icon" and the icon, %c the name, %k the
// entry's path, %% a "%"; the others stand for nothing. A line without a code for the address
// gets it as its last argument. Empty when no program is left.
std::vector<std::string> ExecCommand(const std::string& execLine, const std::string& url,
                                     const TDesktopEntryFields& entry = {});

// Starts the command (its program, a name looked up on PATH, then its arguments) detached from
// this process. A command of "env" with variable settings names the program after them: that
// program must be found as well. False when a program is missing or could not be started.
bool StartCommand(const std::vector<std::string>& command);

// Starts the desktop's web browser with the address. False when no browser is known or none
// could be started.
bool OpenInBrowser(const std::string& url);

// Opens the address with the desktop's program for its scheme: the web browser for http and
// https, the default application of "x-scheme-handler/<scheme>" for others (mailto: the mail
// program). False when no program is known or it could not be started.
bool OpenUrl(const std::string& url);

// The scheme of an address in lower case ("https" of "HTTPS://x"), empty when it has none.
std::string UrlScheme(const std::string& url);

}  // namespace platform
