#pragma once
#include <string>

#include "platform/MessageHub.h"

// Web pages and mail messages opened from the program.

// Opens the address with the desktop's program for it (the web browser, the mail program).
// When no program could be started the user is told the address, so it can be copied by hand;
// False then.
bool OpenLink(const std::string& url);

// Bytes of a code-page text as UTF-8, every byte outside the unreserved characters of an
// address (letters, digits, "-", ".", "_", "~") written as "%" and two upper-case hex digits.
std::string PercentEncode(const std::string& text);

// "mailto:" + address + "?subject=" + subject line + "&body=" + body, where the subject line is
// subject + " (" + productName + " v" + productVersion + ")"; subject line and body are
// percent-encoded, so "&", "?", "#" and line breaks in them stay theirs.
std::string MailToLink(const std::string& address, const std::string& subject, const std::string& body,
                       const std::string& productName, const std::string& productVersion);

// Opens a new mail to the address in the desktop's mail program (OpenLink of MailToLink).
void SendMailTo(platform::WindowHandle handle, const std::string& address, const std::string& subject,
                const std::string& body, const std::string& productName, const std::string& productVersion);
