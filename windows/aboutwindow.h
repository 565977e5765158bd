#pragma once

#include "secondarywindow.h"

// frmAbout: the program's name, version, a picture and the credits. It writes
// its caption, title and version from the application's own name and version
// when it is created. Enter and Escape press its OK button, which leaves it.
class AboutWindow : public SecondaryWindow
{
    Q_OBJECT

public:
    AboutWindow();

private:
    void load();
};
