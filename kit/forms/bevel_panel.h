// A panel drawn with an outer and an inner bevel, a gap of `borderWidth` between them and an
// optional single-line border around everything. Widgets docked in it (see edges()) are placed
// inside the bevels; other children keep the positions they are given.
#pragma once

#include "kit/forms/edge_layout.h"

#include <QWidget>

namespace kit {

enum class Bevel { None, Lowered, Raised, Space };

struct BevelStyle {
    Bevel inner = Bevel::None;
    Bevel outer = Bevel::Raised;
    int bevelWidth = 1;
    int borderWidth = 0;
    bool singleBorder = false;
};

class BevelPanel : public QWidget {
    Q_OBJECT
public:
    explicit BevelPanel(QWidget *parent = nullptr, const BevelStyle &style = {});

    void setBevelStyle(const BevelStyle &style);
    const BevelStyle &bevelStyle() const noexcept { return style_; }
    // Pixels between the panel's edge and its docked children on every side.
    int inset() const noexcept;
    // Caption drawn centred inside the bevels; empty for none.
    void setCaption(const QString &caption);
    QString caption() const { return caption_; }
    void setColor(const QColor &color);
    // The layout that docks children; created on first use.
    EdgeLayout *edges();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    BevelStyle style_;
    QString caption_;
    EdgeLayout *edges_ = nullptr;
};

}  // namespace kit
