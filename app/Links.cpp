#include "app/Links.h"

#include "lang/DlgLangConverter.h"
#include "platform/Browser.h"
#include "platform/CodePage.h"

bool OpenLink(const std::string& url) {
    if (platform::OpenUrl(url)) return true;
    lang::ShowMessageText(lang::GetMessageText("LINK_NO_PROGRAM") + "\n" + url);
    return false;
}

std::string PercentEncode(const std::string& text) {
    static const char* const kHex = "0123456789ABCDEF";
    const std::string utf8 = platform::CodePage::Current().ToUtf8(text);
    std::string out;
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~') {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

std::string MailToLink(const std::string& address, const std::string& subject, const std::string& body,
                       const std::string& productName, const std::string& productVersion) {
    const std::string subjectLine = subject + " (" + productName + " v" + productVersion + ")";
    return "mailto:" + address + "?subject=" + PercentEncode(subjectLine) + "&body=" + PercentEncode(body);
}

void SendMailTo(platform::WindowHandle, const std::string& address, const std::string& subject,
                const std::string& body, const std::string& productName, const std::string& productVersion) {
    OpenLink(MailToLink(address, subject, body, productName, productVersion));
}
