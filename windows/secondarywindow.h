#pragma once

#include "controls.h"
#include "window.h"

#include <QWidget>

// What the secondary windows share: the frame of every window, a make-up built
// from a table, and leaving. A window is left by its own button or by its close
// box; it says so once, whatever input was still queued for it, and whoever
// owns it decides what leaving means (usually unloading it).
class SecondaryWindow : public QWidget
{
    Q_OBJECT

public:
    SecondaryWindow(const windows::WindowProperties &properties, std::span<const controls::Control> table);

signals:
    void left();

protected:
    const controls::Controls &controls() const { return controls_; }
    void leave();
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *client_; // the window itself, or below its own title bar
    controls::Controls controls_;
    bool left_ = false;
};
