#include "frontends/qt/ViewPainter.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <cmath>
#include <numbers>

#include "Platform/Net/NetworkActivityIndicator.h"
#include "Platform/UI/ActionSheet.h"
#include "Platform/UI/ActivityIndicatorView.h"
#include "Platform/UI/AlertView.h"
#include "Platform/UI/BarButtonItem.h"
#include "Platform/UI/Button.h"
#include "Platform/UI/DrawnView.h"
#include "Platform/UI/ImageView.h"
#include "Platform/UI/Keyboard.h"
#include "Platform/UI/Label.h"
#include "Platform/UI/NavigationBar.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/PickerView.h"
#include "Platform/UI/ScrollView.h"
#include "Platform/UI/SegmentedControl.h"
#include "Platform/UI/TabBar.h"
#include "Platform/UI/TabBarController.h"
#include "Platform/UI/TableView.h"
#include "Platform/UI/TableViewCell.h"
#include "Platform/UI/TextField.h"
#include "Platform/UI/TextMeasure.h"
#include "Platform/UI/TextMetricsQt.h"
#include "Platform/UI/TextView.h"
#include "Platform/UI/Toolbar.h"
#include "Platform/UI/ViewController.h"
#include "Platform/UI/WebView.h"
#include "frontends/qt/CanvasReplay.h"
#include "frontends/qt/ChromeLayout.h"

namespace lk::qt {

using ui::Font;
using ui::Rect;
using ui::TextMeasure;

namespace {

const QColor kBarTop(0x7a, 0x9a, 0xc6);
const QColor kBarBottom(0x3f, 0x67, 0x9c);
const QColor kTint(0x2f, 0x9b, 0xff);
const QColor kSelectionBlue(0x2b, 0x74, 0xd8);

QString qs(const std::string& s) {
  return QString::fromStdString(s);
}

Qt::Alignment qtAlignment(ui::TextAlignment a) {
  switch (a) {
    case ui::TextAlignment::kCenter:
      return Qt::AlignHCenter;
    case ui::TextAlignment::kRight:
      return Qt::AlignRight;
    case ui::TextAlignment::kLeft:
      break;
  }
  return Qt::AlignLeft;
}

// Lines of text in `box`, vertically centred, wrapped as the toolkit measures (maxLines 0: all
// that fit; 1: one line, shortened with an ellipsis when too long).
void drawText(QPainter& p, const std::string& text, const QRectF& box, const Font& font,
              const QColor& color, Qt::Alignment align, int maxLines = 1, bool vcenter = true) {
  if (text.empty() || box.width() <= 0) return;
  const QFont f = ui::qtFont(font);
  p.save();
  p.setFont(f);
  p.setPen(color);
  const double lh = TextMeasure::lineHeight(font);
  std::vector<std::string> lines;
  if (maxLines == 1) {
    lines.push_back(text.substr(0, text.find('\n')));
  } else {
    lines = TextMeasure::wrap(text, font, box.width());
    auto fit = static_cast<std::size_t>(std::max(1.0, std::floor(box.height() / lh + 0.01)));
    if (maxLines > 0) fit = std::min<std::size_t>(fit, static_cast<std::size_t>(maxLines));
    if (lines.size() > fit) lines.resize(fit);
  }
  const double total = lh * static_cast<double>(lines.size());
  double y = vcenter ? box.y() + (box.height() - total) / 2 : box.y();
  QFontMetricsF metrics(f);
  for (const auto& line : lines) {
    QString s = qs(line);
    if (TextMeasure::widthOfText(line, font) > box.width() + 0.5)
      s = metrics.elidedText(s, Qt::ElideRight, box.width());
    p.drawText(QRectF(box.x(), y, box.width(), lh), align | Qt::AlignVCenter | Qt::TextSingleLine,
               s);
    y += lh;
  }
  p.restore();
}

void fillRounded(QPainter& p, const QRectF& r, double radius, const QBrush& brush,
                 const QPen& pen = Qt::NoPen) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(pen);
  p.setBrush(brush);
  p.drawRoundedRect(r, radius, radius);
  p.restore();
}

QLinearGradient vertical(const QRectF& r, const QColor& top, const QColor& bottom) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  return g;
}

// A bar button: a rounded, bordered key with its title or picture.
void drawBarButton(QPainter& p, PictureStore& pictures, const ui::BarButtonItem& item,
                   const QRectF& r, bool dark) {
  if (!item.title().empty() || item.style() != ui::BarButtonItem::Style::kPlain) {
    const bool done = item.style() == ui::BarButtonItem::Style::kDone;
    const QColor top = done   ? QColor(0x5b, 0x9b, 0xf0)
                       : dark ? QColor(0x55, 0x55, 0x55)
                              : QColor(0x8c, 0xa8, 0xcf);
    const QColor bottom = done   ? QColor(0x1f, 0x5f, 0xc8)
                          : dark ? QColor(0x22, 0x22, 0x22)
                                 : QColor(0x4a, 0x6f, 0xa3);
    fillRounded(p, r, 5, vertical(r, top, bottom), QPen(QColor(0, 0, 0, 110), 1));
  }
  p.save();
  if (!item.isEnabled()) p.setOpacity(p.opacity() * 0.45);
  if (!item.title().empty()) {
    drawText(p, item.title(), r.adjusted(4, 0, -4, 0), Font::boldSystem(12), Qt::white,
             Qt::AlignHCenter);
  } else if (!item.image().isNull()) {
    const auto s = item.image().size();
    const double w = s.width > 0 ? std::min(s.width, r.width()) : r.height() - 8;
    const double h = s.height > 0 ? std::min(s.height, r.height()) : r.height() - 8;
    drawPicture(p, pictures, item.image(),
                QRectF(r.center().x() - w / 2, r.center().y() - h / 2, w, h));
  }
  p.restore();
}

// The picture tinted: its shape filled with `color`.
QImage tinted(const QImage& picture, const QColor& color) {
  QImage out = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QPainter tp(&out);
  tp.setCompositionMode(QPainter::CompositionMode_SourceIn);
  tp.fillRect(out.rect(), color);
  return out;
}

void drawSpinner(QPainter& p, const QRectF& r, const QColor& color, double seconds) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(r.center());
  const double radius = std::min(r.width(), r.height()) / 2;
  const int lead = static_cast<int>(seconds * 12) % 12;
  for (int i = 0; i < 12; ++i) {
    QColor c = color;
    c.setAlphaF(static_cast<float>(0.25 + 0.75 * ((i - lead + 12) % 12) / 11.0));
    p.setPen(QPen(c, std::max(1.5, radius / 4), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, -radius * 0.5), QPointF(0, -radius * 0.95));
    p.rotate(30);
  }
  p.restore();
}

void drawLabel(QPainter& p, const ui::Label& label) {
  const QRectF box(0, 0, label.frame().width(), label.frame().height());
  const int lines = label.numberOfLines();
  if (!label.shadowColor().isClear()) {
    drawText(p, label.text(), box.translated(label.shadowOffset().x, label.shadowOffset().y),
             label.font(), qtColor(label.shadowColor()), qtAlignment(label.textAlignment()), lines);
  }
  drawText(p, label.text(), box, label.font(), qtColor(label.textColor()),
           qtAlignment(label.textAlignment()), lines);
}

void drawImageView(QPainter& p, PictureStore& pictures, const ui::ImageView& view, double seconds) {
  const QRectF box(0, 0, view.frame().width(), view.frame().height());
  const auto& frames = view.animationImages();
  if (view.isAnimating() && !frames.empty()) {
    const double cycle =
        view.animationDuration() > 0 ? view.animationDuration() : frames.size() / 30.0;
    const auto index = static_cast<std::size_t>(std::fmod(seconds, cycle) / cycle *
                                                static_cast<double>(frames.size())) %
                       frames.size();
    drawPicture(p, pictures, frames[index], box);
    return;
  }
  drawPicture(p, pictures, view.image(), box);
}

void drawButton(QPainter& p, PictureStore& pictures, const ui::Button& button, bool pressed) {
  const QRectF box(0, 0, button.frame().width(), button.frame().height());
  p.save();
  if (!button.isEnabled()) p.setOpacity(p.opacity() * 0.45);
  drawPicture(p, pictures, button.backgroundImage(), box);
  if (!button.image().isNull()) {
    const auto s = button.image().size();
    double w = s.width > 0 ? s.width : box.width();
    double h = s.height > 0 ? s.height : box.height();
    const double fit = std::min({1.0, box.width() / w, box.height() / h});
    w *= fit;
    h *= fit;
    const QImage& picture = pictures.picture(button.image());
    if (s.width <= 0 && !picture.isNull()) {
      // A picture of unknown size keeps its own proportions within the button.
      const double k = std::min(box.width() / picture.width(), box.height() / picture.height());
      w = std::min(box.width(), picture.width() * std::min(1.0, k));
      h = std::min(box.height(), picture.height() * std::min(1.0, k));
    }
    drawPicture(p, pictures, button.image(),
                QRectF(box.center().x() - w / 2, box.center().y() - h / 2, w, h));
  }
  if (!button.title().empty()) {
    drawText(p, button.title(), box.adjusted(2, 0, -2, 0), button.font(),
             qtColor(button.titleColor()), Qt::AlignHCenter);
  }
  if (button.isSelected()) fillRounded(p, box, 4, QColor(0, 0, 0, 40));
  if (pressed) fillRounded(p, box, 4, QColor(0, 0, 0, 80));
  p.restore();
}

void drawCaret(QPainter& p, double x, double y, double h) {
  p.fillRect(QRectF(x, y, 2, h), kTint);
}

void drawTextField(QPainter& p, const ui::TextField& field) {
  const QRectF box(0, 0, field.frame().width(), field.frame().height());
  using Border = ui::TextField::BorderStyle;
  double inset = 2;
  switch (field.borderStyle) {
    case Border::kRoundedRect:
      fillRounded(p, box.adjusted(0.5, 0.5, -0.5, -0.5), 6, Qt::white,
                  QPen(QColor(0x9a, 0x9a, 0x9a), 1));
      inset = 8;
      break;
    case Border::kLine:
    case Border::kBezel:
      p.fillRect(box, Qt::white);
      p.setPen(QPen(QColor(0x70, 0x70, 0x70), 1));
      p.drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
      inset = 4;
      break;
    case Border::kNone:
      break;
  }
  const bool clear = field.isClearButtonShown();
  QRectF textBox = box.adjusted(inset, 0, -(inset + (clear ? 26 : 0)), 0);
  const Font& font = field.font();
  std::string shown = field.text();
  if (field.secureTextEntry) {
    shown.clear();
    for (std::size_t i = 0; i < TextMeasure::utf16Length(field.text()); ++i)
      shown += "\u25CF";
  }
  const double lh = TextMeasure::lineHeight(font);
  const double top = (box.height() - lh) / 2;
  double caretX = textBox.x();
  if (shown.empty()) {
    drawText(p, field.placeholder(), textBox, font, QColor(0xb0, 0xb0, 0xb0),
             qtAlignment(field.textAlignment));
  } else {
    drawText(p, shown, textBox, font, qtColor(field.textColor()), qtAlignment(field.textAlignment));
    caretX += std::min(textBox.width(), TextMeasure::widthOfText(shown, font));
  }
  if (field.isFirstResponder()) drawCaret(p, caretX + 1, top + 1, lh - 2);
  if (clear) {
    const QRectF c = qtRect(ChromeLayout::clearButton(field));
    fillRounded(p, c, c.width() / 2, QColor(0xa8, 0xa8, 0xa8));
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 2));
    const QRectF x = c.adjusted(6, 6, -6, -6);
    p.drawLine(x.topLeft(), x.bottomRight());
    p.drawLine(x.topRight(), x.bottomLeft());
    p.restore();
  }
}

void drawTextView(QPainter& p, const ui::TextView& view) {
  const QRectF box(0, 0, view.frame().width(), view.frame().height());
  const QRectF inner = box.adjusted(8, 8, -8, -8);
  drawText(p, view.text(), inner, view.font(), qtColor(view.textColor()),
           qtAlignment(view.textAlignment), 0, false);
  if (view.isFirstResponder()) {
    const auto lines = TextMeasure::wrap(view.text(), view.font(), inner.width());
    const double lh = TextMeasure::lineHeight(view.font());
    const double y = inner.y() + lh * static_cast<double>(lines.size() - 1);
    drawCaret(p, inner.x() + TextMeasure::widthOfText(lines.back(), view.font()) + 1,
              std::min(y, inner.bottom() - lh) + 1, lh - 2);
  }
}

void drawSegments(QPainter& p, const ui::SegmentedControl& control) {
  const QRectF box = QRectF(0, 0, control.frame().width(), control.frame().height())
                         .adjusted(0.5, 0.5, -0.5, -0.5);
  const int n = control.numberOfSegments();
  if (n == 0) return;
  fillRounded(p, box, 5, vertical(box, Qt::white, QColor(0xe4, 0xe4, 0xe4)),
              QPen(QColor(0x80, 0x80, 0x80), 1));
  const double w = box.width() / n;
  for (int i = 0; i < n; ++i) {
    const QRectF seg(box.x() + i * w, box.y(), w, box.height());
    const bool selected = i == control.selectedSegmentIndex();
    if (selected) {
      p.save();
      QPainterPath clip;
      clip.addRoundedRect(box, 5, 5);
      p.setClipPath(clip, Qt::IntersectClip);
      p.fillRect(seg, vertical(seg, QColor(0x6a, 0x9e, 0xe8), kSelectionBlue));
      p.restore();
    }
    if (i > 0) {
      p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
      p.drawLine(QPointF(seg.x(), seg.top()), QPointF(seg.x(), seg.bottom()));
    }
    drawText(p, control.titles()[static_cast<std::size_t>(i)], seg, Font::boldSystem(13),
             selected ? Qt::white : QColor(0x40, 0x40, 0x40), Qt::AlignHCenter);
  }
}

void drawTable(QPainter& p, const ui::TableView& table) {
  // Section titles of the visible part (header views are subviews and paint themselves).
  const Rect visible = table.bounds();
  const bool grouped = table.style() == ui::TableView::Style::kGrouped;
  for (int s = 0; s < table.numberOfSections(); ++s) {
    if (auto title = table.titleForHeaderInSection(s)) {
      auto r = table.rectForHeaderInSection(s);
      if (r && r->intersects(visible) && r->height() > 0) {
        QRectF box = qtRect(*r);
        if (!grouped)
          p.fillRect(box, vertical(box, QColor(0xa5, 0xb1, 0xba), QColor(0x90, 0x9d, 0xa8)));
        drawText(p, *title, box.adjusted(grouped ? 20 : 12, 0, -12, 0),
                 Font::boldSystem(grouped ? 17 : 15),
                 grouped ? QColor(0x4c, 0x56, 0x6c) : Qt::white, Qt::AlignLeft);
      }
    }
    if (auto title = table.titleForFooterInSection(s)) {
      auto r = table.rectForFooterInSection(s);
      if (r && r->intersects(visible) && r->height() > 0) {
        drawText(p, *title, qtRect(*r).adjusted(20, 0, -20, 0), Font::system(14),
                 QColor(0x4c, 0x56, 0x6c), Qt::AlignHCenter, 0);
      }
    }
  }
}

void drawCellSelection(QPainter& p, const ui::TableViewCell& cell) {
  if (!(cell.isHighlighted() || cell.isSelected())) return;
  using Style = ui::TableViewCell::SelectionStyle;
  if (cell.selectionStyle == Style::kNone) return;
  const QRectF box(0, 0, cell.frame().width(), cell.frame().height());
  if (cell.selectionStyle == Style::kGray)
    p.fillRect(box, vertical(box, QColor(0xbb, 0xbb, 0xbb), QColor(0x99, 0x99, 0x99)));
  else
    p.fillRect(box, vertical(box, QColor(0x3d, 0x8c, 0xf0), QColor(0x11, 0x5d, 0xd6)));
}

void drawCellAccessory(QPainter& p, const ui::TableViewCell& cell) {
  using A = ui::TableViewCell::Accessory;
  if (cell.accessoryView() || cell.accessoryType == A::kNone) return;
  const double w = cell.frame().width();
  const double cy = cell.frame().height() / 2;
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  if (cell.accessoryType == A::kCheckmark) {
    p.setPen(QPen(QColor(0x32, 0x50, 0x85), 2.5));
    p.drawPolyline(
        QPolygonF({QPointF(w - 30, cy), QPointF(w - 25, cy + 5), QPointF(w - 16, cy - 7)}));
  } else if (cell.accessoryType == A::kDetailDisclosureButton) {
    const QRectF c(w - 38, cy - 13, 26, 26);
    fillRounded(p, c, 13, vertical(c, QColor(0x5c, 0x9c, 0xf2), kSelectionBlue),
                QPen(Qt::white, 2));
    p.setPen(QPen(Qt::white, 2.5));
    p.drawPolyline(QPolygonF({QPointF(c.center().x() - 2, cy - 5), QPointF(c.center().x() + 3, cy),
                              QPointF(c.center().x() - 2, cy + 5)}));
  } else {
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 2.5));
    p.drawPolyline(
        QPolygonF({QPointF(w - 22, cy - 6), QPointF(w - 16, cy), QPointF(w - 22, cy + 6)}));
  }
  p.restore();
}

void drawNavigationBar(QPainter& p, PictureStore& pictures, const ui::NavigationBar& bar,
                       ViewPainter& views) {
  if (bar.owner() == nullptr) return;
  const QRectF box(0, 0, bar.frame().width(), bar.frame().height());
  const bool translucent = bar.tag() != 0;
  if (translucent)
    p.fillRect(box, QColor(0, 0, 0, 150));
  else
    p.fillRect(box, vertical(box, kBarTop, kBarBottom));
  p.fillRect(QRectF(0, box.bottom() - 1, box.width(), 1), QColor(0x2d, 0x45, 0x68));
  const auto layout = ChromeLayout::navigationBar(bar);
  if (layout.titleView) {
    const auto* top = bar.owner()->topViewController();
    const auto& tv = *top->navigationItem().titleView;
    p.save();
    p.translate(layout.titleView->x() - tv.frame().x(), layout.titleView->y() - tv.frame().y());
    views.paintView(tv);
    p.restore();
  } else {
    const double side = 80;
    drawText(p, bar.title(), box.adjusted(side, 0, -side, 0), Font::boldSystem(19), Qt::white,
             Qt::AlignHCenter);
  }
  if (layout.back) {
    const QRectF r = qtRect(*layout.back);
    QPainterPath arrow;
    arrow.moveTo(r.left(), r.center().y());
    arrow.lineTo(r.left() + 10, r.top());
    arrow.lineTo(r.right() - 4, r.top());
    arrow.quadTo(r.right(), r.top(), r.right(), r.top() + 4);
    arrow.lineTo(r.right(), r.bottom() - 4);
    arrow.quadTo(r.right(), r.bottom(), r.right() - 4, r.bottom());
    arrow.lineTo(r.left() + 10, r.bottom());
    arrow.closeSubpath();
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 0, 110), 1));
    p.setBrush(vertical(r, QColor(0x8c, 0xa8, 0xcf), QColor(0x4a, 0x6f, 0xa3)));
    p.drawPath(arrow);
    p.restore();
    drawText(p, *bar.backButtonTitle(), r.adjusted(10, 0, -4, 0), Font::boldSystem(12), Qt::white,
             Qt::AlignHCenter);
  }
  auto item = [&](const std::shared_ptr<ui::BarButtonItem>& it, const std::optional<Rect>& r) {
    if (!it || !r) return;
    if (const auto& custom = it->customView()) {
      p.save();
      p.translate(r->x() - custom->frame().x(), r->y() - custom->frame().y());
      views.paintView(*custom);
      p.restore();
      return;
    }
    drawBarButton(p, pictures, *it, qtRect(*r), translucent);
  };
  if (!layout.back) item(bar.leftItem(), layout.left);
  item(bar.rightItem(), layout.right);
}

void drawTabBar(QPainter& p, PictureStore& pictures, const ui::TabBar& bar) {
  const QRectF box(0, 0, bar.frame().width(), bar.frame().height());
  p.fillRect(box, vertical(box, QColor(0x3a, 0x3a, 0x3a), QColor(0x0a, 0x0a, 0x0a)));
  p.fillRect(QRectF(0, 0, box.width(), 1), QColor(0x55, 0x55, 0x55));
  const auto* owner = bar.owner();
  if (owner == nullptr) return;
  const auto& tabs = owner->viewControllers();
  if (tabs.empty()) return;
  const double w = box.width() / static_cast<double>(tabs.size());
  for (std::size_t i = 0; i < tabs.size(); ++i) {
    const auto& item = tabs[i]->tabBarItem();
    const bool selected = static_cast<int>(i) == owner->selectedIndex();
    const QRectF cell(i * w, 0, w, box.height());
    if (selected) fillRounded(p, cell.adjusted(2, 2, -2, -2), 4, QColor(255, 255, 255, 38));
    const QRectF icon(cell.center().x() - 15, 3, 30, 30);
    const QImage& picture = pictures.picture(item.image);
    if (!picture.isNull()) {
      p.save();
      p.setRenderHint(QPainter::SmoothPixmapTransform);
      const double k = std::min(icon.width() / picture.width(), icon.height() / picture.height());
      const QSizeF size(picture.width() * k, picture.height() * k);
      p.drawImage(QRectF(icon.center().x() - size.width() / 2,
                         icon.center().y() - size.height() / 2, size.width(), size.height()),
                  tinted(picture, selected ? kTint : QColor(0x99, 0x99, 0x99)));
      p.restore();
    } else if (!item.image.isNull()) {
      drawMissingPicture(p, icon, item.image.name());
    }
    drawText(p, item.title, QRectF(cell.x(), box.height() - 14, cell.width(), 13),
             Font::boldSystem(10), selected ? Qt::white : QColor(0x99, 0x99, 0x99),
             Qt::AlignHCenter);
    if (!item.badgeValue.empty()) {
      const double bw =
          std::max(18.0, TextMeasure::widthOfText(item.badgeValue, Font::boldSystem(12)) + 10);
      const QRectF badge(icon.right() - 6, 1, bw, 18);
      fillRounded(p, badge, 9, QColor(0xe0, 0x20, 0x20), QPen(Qt::white, 1.5));
      drawText(p, item.badgeValue, badge, Font::boldSystem(12), Qt::white, Qt::AlignHCenter);
    }
  }
}

void drawToolbar(QPainter& p, PictureStore& pictures, const ui::Toolbar& toolbar) {
  const QRectF box(0, 0, toolbar.frame().width(), toolbar.frame().height());
  const bool dark = toolbar.barStyle == ui::Toolbar::BarStyle::kBlack;
  p.fillRect(box, dark ? vertical(box, QColor(0x44, 0x44, 0x44), QColor(0x08, 0x08, 0x08))
                       : vertical(box, QColor(0xa6, 0xb5, 0xc8), QColor(0x6d, 0x84, 0xa2)));
  for (const auto& placed : ChromeLayout::toolbar(toolbar))
    drawBarButton(p, pictures, *toolbar.items()[placed.index], qtRect(placed.rect), dark);
}

void drawPicker(QPainter& p, const ui::PickerView& picker) {
  const QRectF box(0, 0, picker.frame().width(), picker.frame().height());
  p.fillRect(box, vertical(box, QColor(0x30, 0x30, 0x38), QColor(0x60, 0x60, 0x6a)));
  const double rh = ChromeLayout::kPickerRowHeight;
  const double cy = box.height() / 2;
  const auto columns = ChromeLayout::pickerColumns(picker);
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const QRectF col = qtRect(columns[c]).adjusted(2, 8, -2, -8);
    p.fillRect(col, vertical(col, QColor(0xc8, 0xc8, 0xcc), Qt::white));
    p.save();
    p.setClipRect(col, Qt::IntersectClip);
    const int component = static_cast<int>(c);
    const int selected = picker.selectedRowInComponent(component);
    const int rows = picker.numberOfRowsInComponent(component);
    for (int d = -3; d <= 3; ++d) {
      const int row = selected + d;
      if (row < 0 || row >= rows) continue;
      const QRectF r(col.x() + 8, cy - rh / 2 + d * rh, col.width() - 16, rh);
      drawText(p, picker.titleForRow(row, component), r, Font::boldSystem(d == 0 ? 20 : 18),
               d == 0 ? Qt::black : QColor(0x50, 0x50, 0x50), Qt::AlignHCenter);
    }
    p.restore();
  }
  if (picker.showsSelectionIndicator) {
    const QRectF band(4, cy - rh / 2, box.width() - 8, rh);
    fillRounded(p, band, 3, QColor(0x8c, 0xa8, 0xe6, 70), QPen(QColor(0x6b, 0x80, 0xa8), 1));
  }
}

void drawAlert(QPainter& p, const ui::AlertView& alert, ViewPainter& views) {
  const QRectF screen(0, 0, alert.frame().width(), alert.frame().height());
  p.fillRect(screen, QColor(0, 0, 0, 115));
  const auto layout = ChromeLayout::alert(alert);
  const QRectF box = qtRect(layout.box);
  fillRounded(p, box, 10,
              vertical(box, QColor(0x2e, 0x44, 0x7e, 235), QColor(0x0e, 0x1e, 0x52, 235)),
              QPen(QColor(255, 255, 255, 200), 2));
  drawText(p, alert.title(), qtRect(layout.title), Font::boldSystem(17), Qt::white,
           Qt::AlignHCenter, 0);
  drawText(p, alert.message(), qtRect(layout.message), Font::system(15), Qt::white,
           Qt::AlignHCenter, 0);
  if (layout.field) {
    if (auto field = alert.textFieldAtIndex(0)) {
      p.save();
      p.translate(layout.field->x() - field->frame().x(), layout.field->y() - field->frame().y());
      p.fillRect(qtRect(field->frame()), Qt::white);
      views.paintView(*field);
      p.restore();
    }
  }
  for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
    const QRectF r = qtRect(layout.buttons[i]);
    const bool cancel = static_cast<int>(i) == alert.cancelButtonIndex();
    fillRounded(p, r, 6,
                vertical(r, cancel ? QColor(0x6b, 0x78, 0x98) : QColor(0x8c, 0x9c, 0xc0),
                         cancel ? QColor(0x35, 0x42, 0x66) : QColor(0x4a, 0x5a, 0x86)),
                QPen(QColor(0, 0, 0, 140), 1));
    drawText(p, alert.buttonTitles()[i], r, Font::boldSystem(16), Qt::white, Qt::AlignHCenter);
  }
}

void drawSheet(QPainter& p, const ui::ActionSheet& sheet) {
  const QRectF screen(0, 0, sheet.frame().width(), sheet.frame().height());
  p.fillRect(screen, QColor(0, 0, 0, 115));
  const auto layout = ChromeLayout::sheet(sheet);
  const QRectF box = qtRect(layout.box);
  p.fillRect(box, vertical(box, QColor(0x50, 0x58, 0x68, 240), QColor(0x20, 0x24, 0x30, 240)));
  drawText(p, sheet.title(), qtRect(layout.title), Font::system(13), Qt::white, Qt::AlignHCenter,
           0);
  for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
    const QRectF r = qtRect(layout.buttons[i]);
    const int index = static_cast<int>(i);
    QColor top(0xf4, 0xf4, 0xf4), bottom(0xc8, 0xc8, 0xc8), text(Qt::black);
    if (index == sheet.destructiveButtonIndex()) {
      top = QColor(0xf0, 0x60, 0x60);
      bottom = QColor(0xb8, 0x10, 0x10);
      text = Qt::white;
    } else if (index == sheet.cancelButtonIndex()) {
      top = QColor(0x60, 0x60, 0x68);
      bottom = QColor(0x30, 0x30, 0x38);
      text = Qt::white;
    }
    fillRounded(p, r, 8, vertical(r, top, bottom), QPen(QColor(0, 0, 0, 150), 1));
    drawText(p, sheet.buttonTitles()[i], r, Font::boldSystem(18), text, Qt::AlignHCenter);
  }
}

void drawWebView(QPainter& p, const ui::WebView& web, double seconds) {
  const QRectF box(0, 0, web.frame().width(), web.frame().height());
  // The shipped pages are maps: a plain street grid stands for the tiles.
  p.fillRect(box, QColor(0xee, 0xea, 0xdf));
  p.setPen(QPen(QColor(0xff, 0xff, 0xff), 6));
  for (double x = 30; x < box.width(); x += 80)
    p.drawLine(QPointF(x, 0), QPointF(x, box.height()));
  for (double y = 40; y < box.height(); y += 90)
    p.drawLine(QPointF(0, y), QPointF(box.width(), y));
  if (web.isLoading()) {
    drawSpinner(p, QRectF(box.center().x() - 12, box.center().y() - 12, 24, 24),
                QColor(0x60, 0x60, 0x60), seconds);
    return;
  }
  if (const auto& marker = web.marker()) {
    const QPointF pin(box.center().x(), box.center().y());
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.moveTo(pin);
    shape.cubicTo(pin + QPointF(-14, -16), pin + QPointF(-10, -34), pin + QPointF(0, -34));
    shape.cubicTo(pin + QPointF(10, -34), pin + QPointF(14, -16), pin);
    p.setPen(QPen(QColor(0x80, 0x10, 0x10), 1));
    p.setBrush(QColor(0xe0, 0x30, 0x30));
    p.drawPath(shape);
    p.setBrush(Qt::white);
    p.drawEllipse(pin + QPointF(0, -23), 4, 4);
    p.restore();
    const std::string where = marker->label.empty() ? std::string() : marker->label;
    char coords[64];
    std::snprintf(coords, sizeof coords, "%.5f, %.5f", marker->x, marker->y);
    const QRectF bubble(16, pin.y() - 84, box.width() - 32, 44);
    fillRounded(p, bubble, 8, QColor(255, 255, 255, 235), QPen(QColor(0x90, 0x90, 0x90), 1));
    drawText(p, where, bubble.adjusted(8, 2, -8, -20), Font::boldSystem(14), Qt::black,
             Qt::AlignHCenter);
    drawText(p, coords, bubble.adjusted(8, 24, -8, -2), Font::system(11), QColor(0x50, 0x50, 0x50),
             Qt::AlignHCenter);
  }
}

}  // namespace

void ViewPainter::paintScreen(const ui::View* window) {
  painter_.save();
  painter_.fillRect(QRectF(0, 0, 320, 480), Qt::black);
  if (window != nullptr) paintView(*window);
  paintStatusBar();
  if (ui::Keyboard::shared().isShown()) paintKeyboard();
  painter_.restore();
}

void ViewPainter::paintStatusBar() {
  const QRectF bar(0, 0, 320, 20);
  painter_.fillRect(bar, vertical(bar, QColor(0x40, 0x40, 0x40), Qt::black));
  drawText(painter_, "Lokavo", bar.adjusted(6, 0, 0, 0), Font::boldSystem(12), Qt::white,
           Qt::AlignLeft);
  drawText(painter_, "9:41", bar, Font::boldSystem(13), Qt::white, Qt::AlignHCenter);
  if (NetworkActivityIndicator::isVisible())
    drawSpinner(painter_, QRectF(68, 4, 12, 12), Qt::white, seconds_);
  // The battery.
  const QRectF battery(286, 6, 24, 10);
  painter_.setPen(QPen(Qt::white, 1));
  painter_.setBrush(Qt::NoBrush);
  painter_.drawRect(battery);
  painter_.fillRect(battery.adjusted(2, 2, -6, -2), Qt::white);
  painter_.fillRect(QRectF(battery.right() + 1, 9, 2, 4), Qt::white);
}

void ViewPainter::paintKeyboard() {
  const QRectF k = qtRect(ChromeLayout::keyboard());
  painter_.fillRect(k, vertical(k, QColor(0x8e, 0x96, 0xa4), QColor(0x5c, 0x63, 0x70)));
  static const char* const kRows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
  const double kw = 28;
  for (int r = 0; r < 3; ++r) {
    const std::string row = kRows[r];
    const double width =
        kw * static_cast<double>(row.size()) + 4 * static_cast<double>(row.size() - 1);
    double x = k.x() + (k.width() - width) / 2;
    const double y = k.y() + 12 + r * 52;
    for (char c : row) {
      const QRectF key(x, y, kw, 42);
      fillRounded(painter_, key, 5,
                  vertical(key, QColor(0xfc, 0xfc, 0xfc), QColor(0xd8, 0xd8, 0xdc)),
                  QPen(QColor(0x40, 0x40, 0x48, 160), 1));
      drawText(painter_, std::string(1, c), key, Font::system(20), Qt::black, Qt::AlignHCenter);
      x += kw + 4;
    }
  }
  const QRectF del = qtRect(ChromeLayout::keyboardDeleteKey());
  fillRounded(painter_, del, 5, QColor(0xa8, 0xb0, 0xbc), QPen(QColor(0x40, 0x40, 0x48, 160), 1));
  drawText(painter_, "\u232B", del, Font::system(18), Qt::black, Qt::AlignHCenter);
  const QRectF space(k.x() + 84, k.bottom() - 48, 150, 42);
  fillRounded(painter_, space, 5, QColor(0xf4, 0xf4, 0xf4), QPen(QColor(0x40, 0x40, 0x48, 160), 1));
  drawText(painter_, "space", space, Font::system(15), Qt::black, Qt::AlignHCenter);
  const QRectF ret = qtRect(ChromeLayout::keyboardReturnKey());
  fillRounded(painter_, ret, 5, vertical(ret, QColor(0x5c, 0x9c, 0xf2), kSelectionBlue),
              QPen(QColor(0x40, 0x40, 0x48, 160), 1));
  std::string label = "换行";
  if (auto* input = ui::Keyboard::shared().firstResponder()) {
    using R = ui::TextInput::ReturnKey;
    switch (input->returnKeyType) {
      case R::kGo:
        label = "前往";
        break;
      case R::kSearch:
        label = "搜索";
        break;
      case R::kSend:
        label = "发送";
        break;
      case R::kNext:
        label = "下一项";
        break;
      case R::kDone:
        label = "完成";
        break;
      case R::kDefault:
        break;
    }
  }
  drawText(painter_, label, ret, Font::boldSystem(15), Qt::white, Qt::AlignHCenter);
}

void ViewPainter::paintView(const ui::View& view) {
  if (view.isHidden() || view.alpha() <= 0) return;
  QPainter& p = painter_;
  p.save();
  const Rect& f = view.frame();
  p.translate(f.x(), f.y());
  if (view.scale() != 1 || view.rotation() != 0) {
    p.translate(f.width() / 2, f.height() / 2);
    p.rotate(view.rotation() * 180 / std::numbers::pi);
    p.scale(view.scale(), view.scale());
    p.translate(-f.width() / 2, -f.height() / 2);
  }
  p.setOpacity(p.opacity() * view.alpha());
  const QRectF box(0, 0, f.width(), f.height());
  if (!view.backgroundColor().isClear()) {
    if (view.cornerRadius > 0)
      fillRounded(p, box, view.cornerRadius, qtColor(view.backgroundColor()));
    else
      p.fillRect(box, qtColor(view.backgroundColor()));
  }
  if (!paintContent(view)) paintChildren(view);
  if (view.borderWidth > 0) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(qtColor(view.borderColor), view.borderWidth));
    p.setBrush(Qt::NoBrush);
    const double half = view.borderWidth / 2;
    p.drawRoundedRect(box.adjusted(half, half, -half, -half), view.cornerRadius, view.cornerRadius);
    p.restore();
  }
  p.restore();
}

void ViewPainter::paintChildren(const ui::View& view) {
  QPainter& p = painter_;
  const bool clips = view.clipsToBounds || dynamic_cast<const ui::ScrollView*>(&view) != nullptr;
  p.save();
  if (clips) {
    const QRectF box(0, 0, view.frame().width(), view.frame().height());
    if (view.cornerRadius > 0) {
      QPainterPath path;
      path.addRoundedRect(box, view.cornerRadius, view.cornerRadius);
      p.setClipPath(path, Qt::IntersectClip);
    } else {
      p.setClipRect(box, Qt::IntersectClip);
    }
  }
  const Rect b = view.bounds();
  p.translate(-b.x(), -b.y());
  if (const auto* table = dynamic_cast<const ui::TableView*>(&view)) drawTable(p, *table);
  const auto children = view.subviews();
  for (const auto& child : children)
    paintView(*child);
  if (const auto* table = dynamic_cast<const ui::TableView*>(&view);
      table != nullptr && table->separatorStyle == ui::TableView::SeparatorStyle::kSingleLine) {
    for (const auto& cell : table->visibleCells()) {
      if (cell->isHidden()) continue;
      const Rect& cf = cell->frame();
      p.fillRect(QRectF(cf.x() + (table->style() == ui::TableView::Style::kGrouped ? 10 : 0),
                        cf.maxY() - 1, cf.width(), 1),
                 QColor(0xe0, 0xe0, 0xe0));
    }
  }
  if (const auto* sv = dynamic_cast<const ui::ScrollView*>(&view);
      sv != nullptr && (sv->isDragging() || sv->isDecelerating()) &&
      sv->showsVerticalScrollIndicator) {
    const double content = std::max(sv->contentSize().height, b.height());
    const double h = std::max(20.0, b.height() * b.height() / content);
    const double y = b.y() + (b.height() - h) *
                                 std::clamp(b.y() / std::max(1.0, content - b.height()), 0.0, 1.0);
    fillRounded(p, QRectF(b.x() + b.width() - 5, y, 3, h), 1.5, QColor(0, 0, 0, 110));
  }
  p.restore();
}

bool ViewPainter::paintContent(const ui::View& view) {
  QPainter& p = painter_;
  if (const auto* alert = dynamic_cast<const ui::AlertView*>(&view)) {
    drawAlert(p, *alert, *this);
    return true;  // its text field is painted inside the box
  }
  if (const auto* sheet = dynamic_cast<const ui::ActionSheet*>(&view)) {
    drawSheet(p, *sheet);
    return true;
  }
  if (const auto* bar = dynamic_cast<const ui::NavigationBar*>(&view)) {
    drawNavigationBar(p, pictures_, *bar, *this);
    return true;
  }
  if (const auto* tabs = dynamic_cast<const ui::TabBar*>(&view)) {
    drawTabBar(p, pictures_, *tabs);
    return true;
  }
  if (const auto* toolbar = dynamic_cast<const ui::Toolbar*>(&view)) {
    drawToolbar(p, pictures_, *toolbar);
    return false;
  }
  if (const auto* cell = dynamic_cast<const ui::TableViewCell*>(&view)) {
    if (cell->backgroundView() == nullptr) drawCellSelection(p, *cell);
    paintChildren(view);
    drawCellAccessory(p, *cell);
    return true;
  }
  if (const auto* drawn = dynamic_cast<const ui::DrawnView*>(&view)) {
    // What a view draws stays within it, as its own backing store would keep it.
    p.save();
    p.setClipRect(QRectF(0, 0, view.frame().width(), view.frame().height()), Qt::IntersectClip);
    replayCanvas(p, drawn->render().ops(), pictures_);
    p.restore();
  } else if (const auto* label = dynamic_cast<const ui::Label*>(&view)) {
    drawLabel(p, *label);
  } else if (const auto* image = dynamic_cast<const ui::ImageView*>(&view)) {
    drawImageView(p, pictures_, *image, seconds_);
  } else if (const auto* button = dynamic_cast<const ui::Button*>(&view)) {
    drawButton(p, pictures_, *button, pressed_ == &view);
  } else if (const auto* field = dynamic_cast<const ui::TextField*>(&view)) {
    drawTextField(p, *field);
  } else if (const auto* text = dynamic_cast<const ui::TextView*>(&view)) {
    drawTextView(p, *text);
  } else if (const auto* segments = dynamic_cast<const ui::SegmentedControl*>(&view)) {
    drawSegments(p, *segments);
  } else if (const auto* picker = dynamic_cast<const ui::PickerView*>(&view)) {
    drawPicker(p, *picker);
  } else if (const auto* spinner = dynamic_cast<const ui::ActivityIndicatorView*>(&view)) {
    if (spinner->isAnimating() || !spinner->hidesWhenStopped) {
      const QColor color = spinner->style == ui::ActivityIndicatorView::Style::kGray
                               ? QColor(0x70, 0x70, 0x70)
                               : QColor(Qt::white);
      drawSpinner(p, QRectF(0, 0, view.frame().width(), view.frame().height()), color,
                  spinner->isAnimating() ? seconds_ : 0);
    }
  } else if (const auto* web = dynamic_cast<const ui::WebView*>(&view)) {
    drawWebView(p, *web, seconds_);
  }
  return false;
}

}  // namespace lk::qt
