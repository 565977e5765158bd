// Every text is laid out left to right, Hebrew runs inside it right to left:
// a caption stored as "?מי ראשון" shows its "?" at the left end. Checked on
// the drawing, not the string, also under a Hebrew locale.
#include "captionbutton.h"
#include "captionlabel.h"
#include "confirm.h"
#include "ltrtext.h"
#include "optionbutton.h"
#include "support/ui.h"

#include <QAccessible>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kQuestion = QStringLiteral("?מי ראשון");

// Pixels that stand out from the background, the commonest grey level.
QImage inkMask(const QImage &source, int threshold = 96)
{
    const QImage img = source.convertToFormat(QImage::Format_RGB32);
    int histogram[256] = {};
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            ++histogram[qGray(img.pixel(x, y))];
    const int background = int(std::max_element(std::begin(histogram), std::end(histogram)) - histogram);
    QImage mask(img.size(), QImage::Format_Mono);
    mask.fill(0);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAbs(qGray(img.pixel(x, y)) - background) > threshold)
                mask.setPixel(x, y, 1);
    return mask;
}

QRect inkBounds(const QImage &mask, QRect within)
{
    QRect box;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (mask.pixelIndex(x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

// The glyph that the drawn text begins with at its left end, cut out as wide
// as `glyph` drawn alone, compared pixel by pixel with it: the share of the
// reference's ink that differs. Sub-pixel placement flips a few pixels.
double glyphMismatch(const QImage &drawn, const QFont &font, const QString &glyph)
{
    QImage ref(QSize(200, 120), QImage::Format_RGB32);
    ref.fill(Qt::white);
    {
        QPainter p(&ref);
        // An image has its own resolution; keep the glyph as large as on screen.
        QFont sized = font;
        sized.setPixelSize(QFontInfo(font).pixelSize());
        p.setFont(sized);
        p.setPen(Qt::black);
        p.drawText(ref.rect(), Qt::AlignCenter, glyph);
    }
    const QImage refMask = inkMask(ref);
    const QRect box = inkBounds(refMask, refMask.rect());
    const QImage mask = inkMask(drawn);
    const QRect all = inkBounds(mask, mask.rect());
    if (all.isEmpty() || box.isEmpty())
        return 1;
    const QRect slice = inkBounds(mask, QRect(all.left(), 0, box.width(), mask.height()));
    int mismatch = qAbs(slice.height() - box.height()) * box.width();
    int ink = 0;
    for (int y = 0; y < box.height(); ++y) {
        for (int x = 0; x < box.width(); ++x) {
            const bool expected = refMask.pixelIndex(box.left() + x, box.top() + y);
            ink += expected;
            if (y < slice.height() && mask.pixelIndex(slice.left() + x, slice.top() + y) != expected)
                ++mismatch;
        }
    }
    return double(mismatch) / ink;
}

// True when the text's left end looks like its "?" rather than like the last
// letter, which a right-to-left layout would put there.
bool questionMarkAtLeft(const QImage &drawn, const QFont &font, const QString &caption)
{
    return glyphMismatch(drawn, font, QStringLiteral("?")) < glyphMismatch(drawn, font, caption.right(1));
}

int inkHeight(const QImage &drawn)
{
    const QImage mask = inkMask(drawn);
    return inkBounds(mask, mask.rect()).height();
}

} // namespace

class DirectionTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { app::configure(); }
    void cleanupTestCase() { ui::reset(); }

    void applicationIsLeftToRight();
    void label();
    void labelKeepsCaptionAndAccessibleName();
    void optionButton();
    void wrapAtBlanks_data();
    void wrapAtBlanks();
    void optionTooWideKeepsItsMark();
    void buttonCaptionWraps();
    void menuItem();
    void messageBox();
};

void DirectionTest::applicationIsLeftToRight()
{
    QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
}

void DirectionTest::label()
{
    QFont font(QStringLiteral("David"));
    font.setPointSizeF(20);
    CaptionLabel ours;
    QLabel plain; // Qt's own choice of direction, to show the check can fail
    for (QLabel *l : {static_cast<QLabel *>(&ours), &plain}) {
        l->setFont(font);
        l->setText(kQuestion);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        l->resize(240, 60);
    }
    QVERIFY(questionMarkAtLeft(ours.grab().toImage(), font, kQuestion));
    QVERIFY(!questionMarkAtLeft(plain.grab().toImage(), font, kQuestion));
    // Left alignment stays on the left, not mirrored by the Hebrew text.
    const QImage mask = inkMask(ours.grab().toImage());
    QVERIFY(inkBounds(mask, mask.rect()).left() < 10);
}

void DirectionTest::labelKeepsCaptionAndAccessibleName()
{
    CaptionLabel label;
    label.setText(kQuestion);
    QCOMPARE(label.text(), kQuestion);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&label);
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Name), kQuestion);
}

void DirectionTest::optionButton()
{
    const QString caption = QStringLiteral("?אב גד");
    OptionButton option(caption);
    option.resize(240, 33);
    OptionButton empty;
    empty.resize(240, 33);
    const QImage drawn = option.grab().toImage();
    QVERIFY(questionMarkAtLeft(drawn, option.font(), caption));
    // The circle is at the right: the empty button's ink is all in its right part.
    const QImage emptyMask = inkMask(empty.grab().toImage(), 32);
    QVERIFY(inkBounds(emptyMask, emptyMask.rect()).left() > option.width() / 2);
    // And the caption ends before it.
    const QImage mask = inkMask(drawn);
    QVERIFY(inkBounds(mask, mask.rect()).left() < inkBounds(emptyMask, emptyMask.rect()).left());
}

// Lines break at blanks only. Widths are given in characters of a fixed-pitch face.
void DirectionTest::wrapAtBlanks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("chars");
    QTest::addColumn<QStringList>("lines");

    // clang-format off
    QTest::newRow("fits") << u"ab cd"_s << 5 << QStringList{u"ab cd"_s};
    QTest::newRow("breaks at the blank") << u"ab cd"_s << 4 << QStringList{u"ab"_s, u"cd"_s};
    QTest::newRow("a mark stays with its word") << u"ab cd ?ef gh"_s << 7 << QStringList{u"ab cd"_s, u"?ef gh"_s};
    QTest::newRow("no break inside a word") << u"abcdefgh ij"_s << 4 << QStringList{u"abcdefgh"_s, u"ij"_s};
    QTest::newRow("leading blank kept") << u" X"_s << 5 << QStringList{u" X"_s};
    QTest::newRow("inner blanks kept") << u"a.  b"_s << 5 << QStringList{u"a.  b"_s};
    QTest::newRow("blanks at a break dropped") << u"ab   cd"_s << 4 << QStringList{u"ab"_s, u"cd"_s};
    QTest::newRow("empty") << u""_s << 4 << QStringList{u""_s};
    // clang-format on
}

void DirectionTest::wrapAtBlanks()
{
    QFETCH(QString, text);
    QFETCH(int, chars);
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setPixelSize(12);
    const QFontMetrics metrics(mono);
    QVERIFY(metrics.horizontalAdvance(u'a') == metrics.horizontalAdvance(u' '));
    QTEST(controls::wrapAtBlanks(text, metrics, metrics.horizontalAdvance(QString(chars, u'a'))), "lines");
}

// A caption a little too wide for one line keeps its "X-" visible at the left.
void DirectionTest::optionTooWideKeepsItsMark()
{
    const QString caption = QStringLiteral(" X-שחקן מספר אחד תמיד הראשון  - כלומר ה ");
    OptionButton option(caption);
    option.resize(option.fontMetrics().horizontalAdvance(caption) + 10, 33); // circle and gap do not fit
    const QImage drawn = option.grab().toImage();
    QVERIFY(glyphMismatch(drawn, option.font(), QStringLiteral("X"))
            < glyphMismatch(drawn, option.font(), QStringLiteral("ה")));
    QVERIFY(inkHeight(drawn) < 2 * option.fontMetrics().height()); // one line
    const QImage mask = inkMask(drawn);
    QVERIFY(inkBounds(mask, mask.rect()).left() > 0); // nothing cut at the left edge
}

// A tall button holds a long caption on two lines, as the result windows need.
void DirectionTest::buttonCaptionWraps()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(13.5);
    CaptionButton tall(QStringLiteral("חזרה למשחק"));
    tall.setFont(font);
    tall.resize(81, 73);
    CaptionButton wide(QStringLiteral("חזרה למשחק"));
    wide.setFont(font);
    wide.resize(300, 73);
    const int line = QFontMetrics(font).height();
    QVERIFY(inkHeight(tall.grab().toImage()) > line); // two lines
    QVERIFY(inkHeight(wide.grab().toImage()) < line); // one line where it fits
    QCOMPARE(tall.text(), QStringLiteral("חזרה למשחק"));
}

void DirectionTest::menuItem()
{
    MainWindow &main = ui::freshMain();
    QMenu *options = ui::child<QMenu>(&main, "options");
    QAction *howsfirst = ui::child<QAction>(&main, "howsfirst");
    QCOMPARE(howsfirst->text(), kQuestion);
    options->adjustSize();
    // Inside the menu's own frame.
    const QImage item = options->grab().toImage().copy(options->actionGeometry(howsfirst).adjusted(3, 1, -3, -1));
    QVERIFY(questionMarkAtLeft(item, options->font(), kQuestion));
}

void DirectionTest::messageBox()
{
    const QString question = QStringLiteral("?אתה בטוח שאתה רוצה לצאת");
    bool atLeft = false;
    QString text;
    ui::whenModal([&](QWidget *box) {
        text = static_cast<QMessageBox *>(box)->text();
        // The box's label, found by what it shows, as the program finds it.
        for (QLabel *label : box->findChildren<QLabel *>())
            if (label->text() == question)
                atLeft = questionMarkAtLeft(label->grab().toImage(), label->font(), question);
        static_cast<QMessageBox *>(box)->button(QMessageBox::No)->click();
    });
    QVERIFY(!windows::confirm(question, QStringLiteral("יציאה")));
    QCOMPARE(text, question); // read back as stored
    QVERIFY(atLeft);
}

QTEST_MAIN(DirectionTest)
#include "tst_direction.moc"
