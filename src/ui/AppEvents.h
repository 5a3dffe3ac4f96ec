#pragma once

#include <QObject>

namespace varrow::ui {

// The application-wide notifications the accounts window listens to. The shell posts
// newAccount (the New Account command, the menu's Add Account item); the window opens its editor.
class AppEvents : public QObject {
    Q_OBJECT
public:
    static AppEvents& instance();
    void postNewAccount() { emit newAccountRequested(); }

signals:
    void newAccountRequested();

private:
    AppEvents() = default;
};

}  // namespace varrow::ui
