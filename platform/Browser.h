#pragma once
#include <string>
#include <vector>

namespace platform {

// Opening web pages and mail links with the desktop's own programs, found the freedesktop way:
// the default application of a content type in the "mimeapps.list" files of the XDG
// configuration and data folders (then the installed programs that declare the type in
// "mimeinfo.cache"), and the program named by the Exec line of its desktop entry. The program is
// started with the address as its one argument, without a shell; the switches and placeholders
// of the Exec line are not used.

// The program (a path, or a name to look up on PATH) of the default application for a content
// type such as "x-scheme-handler/http"; empty when none is known.
std::string DefaultApplicationProgram(const std::string& contentType);

// The program of an Exec line: its first word, unquoted; empty when there is none.
std::string ExecProgram(const std::string& execLine);

// Starts program (a name is looked up on PATH) with the one argument, detached from this
// process. False when there is no such program or it could not be started.
bool StartProgram(const std::string& program, const std::string& argument);

// Starts the desktop's web browser with the address. False when no browser is known or it
// could not be started.
bool OpenInBrowser(const std::string& url);

// Opens the address with the desktop's program for its scheme: the web browser for http and
// https, the default application of "x-scheme-handler/<scheme>" for others (mailto: the mail
// program). False when no program is known or it could not be started.
bool OpenUrl(const std::string& url);

// The scheme of an address in lower case ("https" of "HTTPS://x"), empty when it has none.
std::string UrlScheme(const std::string& url);

}  // namespace platform
