#pragma once

#include "controls.h"
#include "window.h"

#include <QDialog>

// What the secondary windows share: the frame of every window, a make-up built
// from a table, and leaving. Each is a dialog that its owner shows modally with
// exec(), which returns once the window is hidden or destroyed. A window is left
// by its own button or by its close box; it says so once, whatever input was
// still queued for it, and whoever owns it decides what leaving means (usually
// unloading it).
class SecondaryWindow : public QDialog
{
    Q_OBJECT

public:
    SecondaryWindow(const windows::WindowProperties &properties, std::span<const controls::Control> table);

    int exec() override;

signals:
    void left();
    // Screen readers are to be told this, wherever the focus is. Told from
    // here, readers would read the whole window out again before it.
    void saying(const QString &text);

public slots:
    // Escape leaves none of these windows on its own (About gives it a
    // button): readers are told there is nothing to cancel.
    void reject() override;

protected:
    const controls::Controls &controls() const { return controls_; }
    void say(const QString &text) { emit saying(text); }
    void leave();
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *client_; // the window itself, or below its own title bar
    controls::Controls controls_;
    bool left_ = false;
};
