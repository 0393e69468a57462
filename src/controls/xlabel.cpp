#include "controls/xlabel.h"

#include "controls/paint_gradient.h"
#include "controls/text_format.h"

#include <QDesktopServices>
#include <QEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>
#include <QUrl>

#include <utility>

namespace zv {
namespace {

constexpr int kWeightBold = 700;
constexpr int kWeightNormal = 400;
constexpr double kMetresPerInch = 0.0254;

void SetBits(std::uint32_t& bits, std::uint32_t mask, bool on) {
    if (on) {
        bits |= mask;
    } else {
        bits &= ~mask;
    }
}

ColorRef Inverted(ColorRef colour) { return ~colour & 0x00FFFFFFu; }

}  // namespace

CXLabel::CXLabel(QWidget* parent) : QWidget(parent) {
    m_textColor = FromQColor(palette().color(QPalette::WindowText));
    m_defaultBackground = FromQColor(palette().color(QPalette::Button));
    // Each paint covers the whole client area from the off-screen image: nothing is erased
    // first, so frequent repaints (status changes, flashing) do not flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CXLabel::~CXLabel() = default;

void CXLabel::PreSubclassWindow(int controlId, std::uint32_t style) {
    m_controlId = controlId;
    m_style = style;
    m_fontDescription = LogFontFromQFont(font(), ScreenDpiY());
    RebuildFont();
}

CXLabel& CXLabel::SetBackground(ColorRef colour, ColorRef endColour, bool gradient) {
    m_backgroundColor = colour;
    m_gradientEndColor = endColour;
    m_gradient = gradient;
    m_customBackground.reset();
    if (!gradient) {
        m_customBackground = colour;
    }
    RepaintWithParent();
    return *this;
}

CXLabel& CXLabel::SetTextColor(ColorRef colour) {
    m_textColor = colour;
    RepaintWithParent();
    return *this;
}

CXLabel& CXLabel::SetText(const QString& text) {
    // The widget exists from construction on, so the text is always taken.
    m_text = text;
    RepaintWithParent();
    return *this;
}

CXLabel& CXLabel::SetBold(bool bold) {
    m_fontDescription.weight = bold ? kWeightBold : kWeightNormal;
    RebuildFont();
    RepaintWithParent();
    return *this;
}

CXLabel& CXLabel::SetFaceName(const QString& face, std::uint8_t charSet) {
    m_fontDescription.charSet = charSet;
    m_fontDescription.faceName = face.left(LogFont::kMaxFaceName);
    RebuildFont();
    RepaintWithParent();
    return *this;
}

CXLabel& CXLabel::SetUnderline(bool underline) {
    m_fontDescription.underline = underline ? 1 : 0;
    RebuildFont();
    RepaintWithParent();
    return *this;
}

CXLabel& CXLabel::SetItalic(bool italic) {
    m_fontDescription.italic = italic ? 1 : 0;
    RebuildFont();
    RepaintWithParent();
    return *this;
}

CXLabel& CXLabel::SetPointSize(int points) {
    m_fontDescription.height = PointFontHeight(ScreenDpiY(), points);
    m_fontDescription.width = 0;
    RebuildFont();
    RepaintWithParent();
    return *this;
}

CXLabel& CXLabel::SetStaticEdge(bool on) {
    SetBits(m_exStyle, kWsExStaticEdge, on);
    ApplyFrame();
    return *this;
}

CXLabel& CXLabel::SetBorder(bool on) {
    SetBits(m_style, kWsBorder, on);
    ApplyFrame();
    return *this;
}

CXLabel& CXLabel::SetTransparent(bool on) {
    m_transparent = on;
    m_exStyle |= kWsExTransparent;
    // A transparent label lets the parent's paint show beneath its text.
    setAttribute(Qt::WA_OpaquePaintEvent, !on);
    RepaintWithParent();
    return *this;
}

CXLabel& CXLabel::SetTextFlashing(bool on) {
    StartFlashing(on, FlashKind::kText);
    if (!on) {
        m_flashKind = FlashKind::kNone;
    }
    return *this;
}

CXLabel& CXLabel::SetBackgroundFlashing(bool on) {
    // Stopping leaves the flash kind and phase as they are.
    StartFlashing(on, FlashKind::kBackground);
    return *this;
}

CXLabel& CXLabel::SetWebLink(bool link, std::uint32_t notify) {
    m_linkKind = link ? LinkKind::kWeb : LinkKind::kNone;
    m_notifyOnClick = notify;
    SetLinkStyle(link);
    return *this;
}

CXLabel& CXLabel::SetHoverCursor(const std::optional<QCursor>& cursor) {
    m_hoverCursor = cursor;
    if (m_hoverCursor) {
        setCursor(*m_hoverCursor);
    } else {
        unsetCursor();
    }
    return *this;
}

CXLabel& CXLabel::SetText3D(bool on, bool direction) {
    m_text3D = on;
    m_text3DDownRight = direction;
    RepaintWithParent();
    return *this;
}

CXLabel& CXLabel::SetRotation(int degrees, bool rotate) {
    m_fontDescription.escapement = degrees * 10;
    m_fontDescription.orientation = degrees * 10;
    m_rotate = rotate;
    RebuildFont();
    RepaintWithParent();
    return *this;
}

CXLabel& CXLabel::SetHighlightColor(ColorRef colour) {
    m_highlightColor = colour;
    RepaintWithParent();
    return *this;
}

CXLabel& CXLabel::SetLogFont(LogFont font) {
    m_fontDescription = std::move(font);
    m_fontDescription.faceName.truncate(LogFont::kMaxFaceName);
    RebuildFont();
    RepaintWithParent();
    return *this;
}

CXLabel& CXLabel::SetMailtoLink(bool link, std::uint32_t notify) {
    m_linkKind = link ? LinkKind::kMail : LinkKind::kNone;
    m_notifyOnClick = notify;
    SetLinkStyle(link);
    return *this;
}

CXLabel& CXLabel::SetLinkTarget(const QString& target) {
    m_linkTarget = target;
    return *this;
}

void CXLabel::RepaintWithParent() {
    repaint();
    if (QWidget* parent = parentWidget()) {
        parent->update(geometry());
    }
}

QImage CXLabel::RenderClient() const {
    const QSize size = contentsRect().size();
    if (size.isEmpty()) {
        return {};
    }
    const qreal ratio = devicePixelRatioF();
    QImage image(size * ratio, m_transparent ? QImage::Format_ARGB32_Premultiplied
                                             : QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    // Fonts given in points resolve against the image's resolution: make it the screen's.
    image.setDotsPerMeterX(qRound(logicalDpiX() / kMetresPerInch));
    image.setDotsPerMeterY(qRound(logicalDpiY() / kMetresPerInch));
    if (m_transparent) {
        image.fill(Qt::transparent);
    }
    QPainter painter(&image);
    PaintClient(painter, QRect(QPoint(0, 0), size));
    return image;
}

void CXLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    PaintFrame(painter);
    const QRect client = contentsRect();
    if (m_transparent) {
        // No off-screen image: the text goes straight onto whatever the parent painted.
        painter.setClipRect(client);
        painter.translate(client.topLeft());
        PaintClient(painter, QRect(QPoint(0, 0), client.size()));
        return;
    }
    const QImage image = RenderClient();
    if (!image.isNull()) {
        painter.drawImage(client.topLeft(), image);  // one transfer of the whole client area
    }
}

void CXLabel::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_flashTimer.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    m_flashPhase = !m_flashPhase;
    RepaintWithParent();
}

void CXLabel::mousePressEvent(QMouseEvent* event) {
    // Without SS_NOTIFY a static control lets clicks through to its parent.
    if (event->button() != Qt::LeftButton || !(m_style & kSsNotify)) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    if (m_notifyOnClick != 0) {
        emit linkNotified(m_controlId, kLinkClickCode);
        return;
    }
    OpenLink();
}

void CXLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange ||
        event->type() == QEvent::ApplicationPaletteChange) {
        // The system colours changed: the default background follows the new button face.
        m_defaultBackground = FromQColor(palette().color(QPalette::Button));
        RepaintWithParent();
    }
    QWidget::changeEvent(event);
}

void CXLabel::RebuildFont() {
    m_font = QFontFromLogFont(m_fontDescription, font());
    m_hasOwnFont = true;
}

void CXLabel::ApplyFrame() {
    const int frame = ((m_style & kWsBorder) ? 1 : 0) + ((m_exStyle & kWsExStaticEdge) ? 1 : 0);
    setContentsMargins(frame, frame, frame, frame);
    update();
}

void CXLabel::SetLinkStyle(bool link) { SetBits(m_style, kSsNotify, link); }

void CXLabel::StartFlashing(bool on, FlashKind kind) {
    m_flashTimer.stop();
    if (on) {
        m_flashPhase = false;
        m_flashTimer.start(kFlashPeriodMs, this);
        m_flashKind = kind;
    }
}

void CXLabel::OpenLink() const {
    // What the desktop does with the link is its own business; the outcome is not examined.
    switch (m_linkKind) {
        case LinkKind::kWeb: {
            const QString target = m_linkTarget.isEmpty() ? m_text : m_linkTarget;
            QDesktopServices::openUrl(QUrl::fromUserInput(target));
            break;
        }
        case LinkKind::kMail:
            QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + m_text));
            break;
        case LinkKind::kNone:
            break;
    }
}

int CXLabel::ScreenDpiY() const { return logicalDpiY(); }

void CXLabel::PaintFrame(QPainter& painter) const {
    QRect outer = rect().adjusted(0, 0, -1, -1);
    if (m_style & kWsBorder) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(outer);
        outer.adjust(1, 1, -1, -1);
    }
    if (m_exStyle & kWsExStaticEdge) {
        // Sunken: shadow along the top and left, light along the bottom and right.
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(outer.topLeft(), outer.topRight());
        painter.drawLine(outer.topLeft(), outer.bottomLeft());
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(outer.bottomLeft(), outer.bottomRight());
        painter.drawLine(outer.topRight(), outer.bottomRight());
    }
}

void CXLabel::PaintClient(QPainter& painter, const QRect& client) const {
    if (!m_transparent) {
        FillBackground(painter, client);
    }
    ColorRef colour = m_textColor;
    if (!m_flashPhase && m_flashKind == FlashKind::kText) {
        colour = FlashColor();
    }
    DrawLabelText(painter, client, colour);
}

void CXLabel::FillBackground(QPainter& painter, const QRect& client) const {
    // The hidden phase of a running background flash shows the background's inverse, so the
    // text stays readable on it; a stopped flash shows the plain background.
    const bool inverted = m_flashKind == FlashKind::kBackground && !m_flashPhase &&
                          m_flashTimer.isActive();
    const auto shown = [inverted](ColorRef colour) { return inverted ? Inverted(colour) : colour; };
    if (m_gradient) {
        PaintGradient(painter, client, shown(m_backgroundColor), shown(m_gradientEndColor));
        return;
    }
    painter.fillRect(client, ToQColor(shown(m_customBackground.value_or(m_defaultBackground))));
}

void CXLabel::DrawLabelText(QPainter& painter, const QRect& client, ColorRef colour) const {
    if (m_text.isEmpty()) {
        return;
    }
    painter.setFont(m_hasOwnFont ? m_font : font());
    painter.setPen(ToQColor(colour));
    if (m_rotate) {
        // From the centre, on the baseline, along the escapement (counter-clockwise); no 3D pass.
        painter.save();
        painter.translate(client.left() + client.width() / 2, client.top() + client.height() / 2);
        painter.rotate(-m_fontDescription.escapement / 10.0);
        painter.drawText(QPointF(0, 0), m_text);
        painter.restore();
        return;
    }
    const int flags = QtTextFlags(LabelTextFormat(m_style, m_text));
    const QString shown = WithLineFeeds(m_text);
    painter.drawText(client, flags, shown);
    if (m_text3D) {
        const int offset = m_text3DDownRight ? 1 : -1;
        painter.setPen(ToQColor(m_highlightColor));
        painter.drawText(client.translated(offset, offset), flags, shown);
    }
}

}  // namespace zv
