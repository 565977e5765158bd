#include "commandline.h"

#include <QCommandLineParser>

namespace app {

namespace {

// The options Qt 6.4 takes from the command line itself (QGuiApplication,
// QApplication, QCoreApplication and the X11 platform), which it offers no
// list of: known here so that the whole line is judged before any display is
// opened. Each with whether a value follows it.
struct QtOption
{
    const char *name;
    bool takesValue;
};
constexpr QtOption kQtOptions[] = {
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"qwindowgeometry", true}, {"geometry", true},
    {"qwindowtitle", true},    {"title", true},
    {"qwindowicon", true},     {"icon", true},
    {"session", true},         {"style", true},
    {"stylesheet", true},      {"qmljsdebugger", true},
    {"display", true},         {"name", true},
    {"visual", true},          {"reverse", false},
    {"testability", false},    {"widgetcount", false},
    {"qdevel", false},         {"qdebug", false},
    {"nograb", false},         {"dograb", false},
};

struct Parser
{
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("print this help and exit")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("print the version and exit")};
    bool parsed = false;

    explicit Parser(const QStringList &arguments)
    {
        // Qt's own options have one dash and whole words: -platform, -style.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.setApplicationDescription(
            QStringLiteral("Noughts and crosses for two players at one mouse.\n"
                           "Qt's standard options (-platform, -style, -display ...) are accepted too."));
        parser.addOptions({help, version});
        for (const QtOption &qt : kQtOptions) {
            QCommandLineOption option(QString::fromLatin1(qt.name), QString(),
                                      qt.takesValue ? QStringLiteral("value") : QString());
            option.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(option);
        }
        parsed = parser.parse(arguments);
    }
};

// Printable, with anything else (an escape sequence, say) written as \xNN.
QString quoted(const QString &argument)
{
    QString text = QStringLiteral("'");
    for (QChar c : argument)
        text += c.isPrint() ? QString(c) : QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
    return text + u'\'';
}

} // namespace

std::optional<Answer> answerWithoutDisplay(const QStringList &arguments)
{
    Parser p(arguments);
    if (p.parser.isSet(p.help))
        return Answer{p.parser.helpText(), 0};
    if (p.parser.isSet(p.version))
        return Answer{QStringLiteral("velmora %1\n").arg(QStringLiteral(VELMORA_VERSION)), 0};
    const QString hint = QStringLiteral("; 'velmora --help' lists the options\n");
    if (!p.parsed) {
        const QStringList unknown = p.parser.unknownOptionNames();
        for (const QString &argument : arguments.mid(1)) {
            const QString name = argument.section(u'=', 0, 0).mid(argument.startsWith(u"--") ? 2 : 1);
            if (argument.startsWith(u'-') && unknown.contains(name))
                return Answer{QStringLiteral("velmora: unknown option ") + quoted(argument) + hint, 2};
        }
        return Answer{QStringLiteral("velmora: ") + p.parser.errorText() + hint, 2};
    }
    if (!p.parser.positionalArguments().isEmpty())
        return Answer{
            QStringLiteral("velmora: unexpected argument ") + quoted(p.parser.positionalArguments().front()) + hint, 2};
    return {};
}

QString displayProblem(const QStringList &qtMessages)
{
    // What Qt's X11 plugin says when it cannot connect; the display it names
    // is the one it tried, from -display or DISPLAY.
    static const QString kNoX = QStringLiteral("could not connect to display");
    for (const QString &message : qtMessages) {
        if (!message.startsWith(kNoX))
            continue;
        const QString display = message.mid(kNoX.size()).trimmed();
        if (display.isEmpty())
            return QStringLiteral("velmora: cannot open a display: DISPLAY is not set\n");
        return QStringLiteral("velmora: cannot open the display \"%1\"\n").arg(display);
    }
    const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (!wayland.isEmpty())
        return QStringLiteral("velmora: cannot open the Wayland display \"%1\" (is qt6-wayland installed?) "
                              "nor an X display\n")
            .arg(wayland);
    return QStringLiteral("velmora: cannot open a display: Qt found no platform it could start on\n");
}

} // namespace app
