#include "readerkeys.h"

#include <QAccessible>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDateTime>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWindow>
#include <deque>
#include <memory>

namespace platform::atspi {

// A key as the AT-SPI registry takes it.
struct DeviceEvent
{
    uint type = 0; // 0 pressed, 1 released
    int id = 0;    // the key symbol
    int hardwareCode = 0;
    int modifiers = 0;
    int timestamp = 0;
    QString text;
    bool isText = false;
};

QDBusArgument &operator<<(QDBusArgument &argument, const DeviceEvent &e)
{
    argument.beginStructure();
    argument << e.type << e.id << e.hardwareCode << e.modifiers << e.timestamp << e.text << e.isText;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, DeviceEvent &e)
{
    argument.beginStructure();
    argument >> e.type >> e.id >> e.hardwareCode >> e.modifiers >> e.timestamp >> e.text >> e.isText;
    argument.endStructure();
    return argument;
}

} // namespace platform::atspi

Q_DECLARE_METATYPE(platform::atspi::DeviceEvent)

namespace platform {

namespace {

using atspi::DeviceEvent;

// AT-SPI's modifier bits: X's own state bits, and NumLock's of its own.
constexpr int kShift = 1 << 0, kControl = 1 << 2, kAlt = 1 << 3, kMeta = 1 << 4;
constexpr int kNumLock = 1 << 14;
constexpr quint32 kXNumLock = 0x10; // Mod2, where X keeps NumLock

// Keys named as readers know them (X key names), as Qt's bridge names them.
struct KeyName
{
    Qt::Key key;
    const char *name;
    const char *onKeypad = nullptr;
};

constexpr KeyName kNames[] = {
    {Qt::Key_Tab, "Tab"},
    {Qt::Key_Backtab, "Backtab"},
    {Qt::Key_Control, "Control_L"},
    {Qt::Key_Left, "Left", "KP_Left"},
    {Qt::Key_Right, "Right", "KP_Right"},
    {Qt::Key_Up, "Up", "KP_Up"},
    {Qt::Key_Down, "Down", "KP_Down"},
    {Qt::Key_Return, "Return"},
    {Qt::Key_Enter, "Return"},
    {Qt::Key_Backspace, "BackSpace"},
    {Qt::Key_Delete, "Delete"},
    {Qt::Key_PageUp, "Page_Up", "KP_Page_Up"},
    {Qt::Key_PageDown, "Page_Down", "KP_Page_Down"},
    {Qt::Key_Home, "Home", "KP_Home"},
    {Qt::Key_End, "End", "KP_End"},
    {Qt::Key_Clear, "Clear", "KP_Begin"},
    {Qt::Key_Escape, "Escape"},
    {Qt::Key_Space, "space"},
    {Qt::Key_CapsLock, "Caps_Lock"},
    {Qt::Key_NumLock, "Num_Lock"},
    {Qt::Key_Insert, "Insert"},
};

DeviceEvent deviceEvent(const QKeyEvent &key)
{
    DeviceEvent e;
    e.type = key.type() == QEvent::KeyPress ? 0 : 1;
    e.id = int(key.nativeVirtualKey());
    e.hardwareCode = int(key.nativeScanCode());
    e.timestamp = int(QDateTime::currentMSecsSinceEpoch());
    const bool keypad = key.modifiers() & Qt::KeypadModifier;
    e.text = key.text();
    for (const KeyName &n : kNames) {
        if (n.key == key.key())
            e.text = QString::fromLatin1(keypad && n.onKeypad ? n.onKeypad : n.name);
    }
    e.isText = !e.text.isEmpty();

    const quint32 native = key.nativeModifiers();
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        e.modifiers = int(native & 0xff); // Shift, Lock, Control, Mod1 to Mod5: the same bits
    } else {
        const Qt::KeyboardModifiers m = key.modifiers();
        e.modifiers = (m & Qt::ShiftModifier ? kShift : 0) | (m & Qt::ControlModifier ? kControl : 0)
                      | (m & Qt::AltModifier ? kAlt : 0) | (m & Qt::MetaModifier ? kMeta : 0);
    }
    // A keypad key that gives a digit says NumLock is on wherever X's state is not at hand.
    const bool keypadDigit = keypad && key.text().size() == 1 && key.text()[0].isDigit();
    if ((QGuiApplication::platformName() == QLatin1String("xcb") && (native & kXNumLock)) || keypadDigit)
        e.modifiers |= kNumLock;
    return e;
}

// The accessibility bus, where the registry listens; not the session bus.
QDBusConnection *accessibilityBus()
{
    static std::unique_ptr<QDBusConnection> bus = [] {
        QString address = qEnvironmentVariable("AT_SPI_BUS_ADDRESS");
        if (address.isEmpty()) {
            const QDBusMessage reply = QDBusConnection::sessionBus().call(
                QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                                               QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress")),
                QDBus::Block, 1000);
            if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
                address = reply.arguments().constFirst().toString();
        }
        auto connection = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(address, QStringLiteral("velmora-reader-keys")));
        return connection->isConnected() ? std::move(connection) : nullptr;
    }();
    return bus.get();
}

// Keys with the readers, in the order they came; each goes on (or not) once
// it and every key before it have been answered, so that none overtakes another.
struct Waiting
{
    QPointer<QObject> receiver;
    std::unique_ptr<QKeyEvent> copy;
    bool answered = false;
    bool kept = false;
};
std::deque<std::shared_ptr<Waiting>> waiting;

void release()
{
    while (!waiting.empty() && waiting.front()->answered) {
        const std::shared_ptr<Waiting> w = waiting.front();
        waiting.pop_front();
        if (!w->kept && w->receiver)
            QCoreApplication::postEvent(w->receiver, w->copy.release()); // no longer spontaneous
    }
}

} // namespace

bool handKeyToReaders(QObject *receiver, QEvent *event)
{
    if ((event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) || !event->spontaneous()
        || !receiver->isWindowType() || !QAccessible::isActive())
        return false;
    QDBusConnection *bus = accessibilityBus();
    if (!bus)
        return false; // Qt's own bridge hands it on as it can
    static const QMetaType registered = qDBusRegisterMetaType<DeviceEvent>();
    Q_UNUSED(registered)

    const auto *key = static_cast<const QKeyEvent *>(event);
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("/org/a11y/atspi/registry/deviceeventcontroller"),
        QStringLiteral("org.a11y.atspi.DeviceEventController"), QStringLiteral("NotifyListenersSync"));
    call.setArguments({QVariant::fromValue(deviceEvent(*key))});

    auto w = std::make_shared<Waiting>();
    w->receiver = receiver;
    w->copy = std::make_unique<QKeyEvent>(key->type(), key->key(), key->modifiers(), key->nativeScanCode(),
                                          key->nativeVirtualKey(), key->nativeModifiers(), key->text(),
                                          key->isAutoRepeat(), key->count());
    waiting.push_back(w);
    // As briefly as Qt waits: a reader that does not answer must not hold the keys up.
    auto *watcher = new QDBusPendingCallWatcher(bus->asyncCall(call, 100), qApp);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, qApp, [w](QDBusPendingCallWatcher *done) {
        const QDBusPendingReply<bool> reply = *done;
        w->answered = true;
        w->kept = !reply.isError() && reply.value();
        done->deleteLater();
        release();
    });
    return true;
}

} // namespace platform
