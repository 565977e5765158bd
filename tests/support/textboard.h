#pragma once

#include "game/board.h"

#include <QStringList>
#include <array>

// A board written as three rows of three: "XO./.X./O.X" ('.' an empty cell).
// It keeps captions as the main window does, so any text can be planted.
class TextBoard : public game::Board
{
public:
    explicit TextBoard(const QString &rows = QStringLiteral(".../.../..."), const QString &next = QStringLiteral("X"))
        : next_(next)
    {
        tallies_.fill(QStringLiteral("0"));
        const QString flat = QString(rows).remove(u'/');
        for (int i = 0; i < kCells; ++i)
            cells_[i] = flat[i] == u'.' ? QString() : QString(flat[i]);
    }

    QString rows() const
    {
        QString out;
        for (int i = 0; i < kCells; ++i) {
            if (i && i % 3 == 0)
                out += u'/';
            out += cells_[i].isEmpty() ? QStringLiteral(".") : cells_[i];
        }
        return out;
    }

    QList<int> visibleStrikes() const
    {
        QList<int> lines;
        for (int line = kFirstStrike; line <= kLastStrike; ++line)
            if (strikes_[line - kFirstStrike])
                lines << line;
        return lines;
    }

    QString cell(int k) const override { return cells_[k - 1]; }
    void setCell(int k, const QString &text) override { cells_[k - 1] = text; }
    QString nextMark() const override { return next_; }
    void setNextMark(const QString &text) override { next_ = text; }
    bool strikeVisible(int line) const override { return strikes_[line - kFirstStrike]; }
    void setStrikeVisible(int line, bool visible) override { strikes_[line - kFirstStrike] = visible; }
    QString tally(game::Tally which) const override { return tallies_[size_t(which)]; }
    void setTally(game::Tally which, const QString &text) override { tallies_[size_t(which)] = text; }

private:
    std::array<QString, kCells> cells_;
    std::array<bool, 8> strikes_{};
    std::array<QString, 3> tallies_;
    QString next_;
};
