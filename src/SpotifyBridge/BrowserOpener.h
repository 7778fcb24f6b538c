#pragma once

// Shows a web page in the user's own browser, so a sign-in there shares the browser's cookies
// and saved passwords. The sign-in session talks to this interface; tests put a scripted
// browser behind it.

#include <expected>
#include <string>

#include <QString>
#include <QUrl>

namespace orvel {

class BrowserOpener {
public:
    virtual ~BrowserOpener() = default;

    // Asks for `url` to be shown and returns at once. The failure says why no browser could be
    // started; a browser that starts and then fails is not seen here.
    virtual std::expected<void, std::string> open(const QUrl& url) = 0;
};

// The desktop's default browser, through xdg-open (or another program with the same calling
// convention). Only http and https addresses are handed over: xdg-open would happily open a
// local file or run another scheme's handler.
class XdgBrowserOpener : public BrowserOpener {
public:
    explicit XdgBrowserOpener(QString program = QStringLiteral("xdg-open"));

    std::expected<void, std::string> open(const QUrl& url) override;

private:
    QString program_;
};

}  // namespace orvel
