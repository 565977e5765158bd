#pragma once

#include "board.h"

#include <QStringList>
#include <array>

// Boards written as three rows of three: "XO./.X./O.X" ('.' an empty cell).
inline void writeRows(game::Board &board, const QString &rows)
{
    const QString flat = QString(rows).remove(u'/');
    for (int k = 1; k <= game::Board::kCells; ++k)
        board.setCell(k, flat[k - 1] == u'.' ? QString() : QString(flat[k - 1]));
}

inline QString readRows(const game::Board &board)
{
    QString out;
    for (int k = 1; k <= game::Board::kCells; ++k) {
        if (k > 1 && k % 3 == 1)
            out += u'/';
        out += board.cell(k).isEmpty() ? QStringLiteral(".") : board.cell(k);
    }
    return out;
}

// A board that keeps captions as the main window does, so any text can be planted.
class TextBoard : public game::Board
{
public:
    explicit TextBoard(const QString &rows = QStringLiteral(".../.../..."), const QString &next = QStringLiteral("X"))
        : next_(next)
    {
        tallies_.fill(QStringLiteral("0"));
        writeRows(*this, rows);
    }

    QString rows() const { return readRows(*this); }

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
    std::array<bool, kStrikeLines> strikes_{};
    std::array<QString, 3> tallies_;
    QString next_;
};
