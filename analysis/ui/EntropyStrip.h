// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The entropy strip beside the hex view's vertical scroll bar: the whole document from top to
// bottom, each stretch coloured by its entropy, with zeros, 0xFF and text told apart; a frame
// marks the rows the view shows, a click jumps there. The measuring runs on the window's
// thread in slices of a few milliseconds between events, so the view's bytes are only read
// while nothing else touches them, and an edit only sends its blocks back to be measured.
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "analysis/EntropyMap.h"
#include "platform/SettingsStore.h"

namespace qv {

class CHexView;

class EntropyStrip : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kSection = "EntropyStrip";
    static constexpr int kWidth = 14;

    // The strip watches viewWidget's painting to keep its frame on the shown rows.
    EntropyStrip(CHexView& view, QWidget* viewWidget, ISettingsStore* settings, QWidget* parent);

    // "Visible" of the section; shown when absent.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // Where the measuring reads instead of the view's block when it gives a source of the
    // same size: a mapped file read without mapping it in.
    void SetFileBytes(std::function<const IByteSource*()> fileBytes) { fileBytes_ = std::move(fileBytes); }

    // The hex view's notifications: new blocks and edits are measured again.
    void OnViewNotify(int code, int64_t a, int64_t b, int64_t c);

    const EntropyMap& Map() const { return map_; }
    // Offset of the byte a strip position stands for.
    int64_t OffsetAt(int y) const;
    // The colour of a stretch as the strip paints it.
    static QColor ColorOf(const BlockMeasure& measure);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Restart();
    void MeasureSlice();
    void JumpTo(int y);
    // The shown rows as strip positions.
    std::pair<int, int> VisibleSpan() const;
    const QImage& Picture();

    CHexView& view_;
    ISettingsStore* settings_;
    bool enabled_ = true;
    EntropyMap map_;
    std::function<const IByteSource*()> fileBytes_;
    QTimer measure_;
    QImage picture_;       // one pixel per strip row, built from the map when it changed
    bool pictureStale_ = true;
    qint64 lastPaintMs_ = 0;
    std::pair<int, int> shownSpan_{-1, -1};
};

}  // namespace qv
