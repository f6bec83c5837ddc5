// A read-only view of a text of any length: lines wrapped at the width of the view in a fixed-pitch
// font, and only the rows on screen laid out and painted, so a text of many megabytes shows and
// scrolls at once.
#pragma once

#include <QAbstractScrollArea>
#include <QString>

#include <cstdint>
#include <vector>

namespace kestrano {

class LongTextView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit LongTextView(QWidget* parent = nullptr);

    // Lines are separated by LF; a tab advances to the next multiple of eight columns.
    void setPlainText(const QString& text);
    const QString& toPlainText() const { return text; }
    // Rows the text takes at the current width.
    int64_t rowCount() const { return rows.empty() ? 0 : rows.back(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void wrap();
    int rowHeight() const;

    QString text;
    QString shown; // the text with tabs expanded
    std::vector<qsizetype> lineStarts; // in shown, one past the last line's end at the back
    std::vector<int64_t> rows; // rows before each line, the total at the back
    int columns = 0;
};

} // namespace kestrano
