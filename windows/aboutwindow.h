#pragma once

#include <QWidget>

// frmAbout: the program's name, version, a picture and the credits. It writes
// its caption, title and version from the application's own name and version
// when it is created. Enter and Escape press its OK button.
class AboutWindow : public QWidget
{
public:
    AboutWindow();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void load();
};
