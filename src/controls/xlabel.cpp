#include "controls/xlabel.h"

#include "controls/draw_text.h"
#include "controls/label_frame.h"
#include "controls/paint_gradient.h"
#include "controls/text_format.h"

#include <QDesktopServices>
#include <QEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

#include <cstdint>
#include <limits>
#include <utility>

namespace zv {
namespace {

constexpr double kMetresPerInch = 0.0254;
constexpr int kDegreesPerTurn = 360;

void SetBits(std::uint32_t& bits, std::uint32_t mask, bool on) {
    if (on) {
        bits |= mask;
    } else {
        bits &= ~mask;
    }
}

ColorRef Inverted(ColorRef colour) {
    return ~colour & 0x00FFFFFFu;
}

// Tenths of a degree of a rotation by `degrees`. Angles whose tenths do not fit in 32 bits are
// taken modulo a whole turn first: they turn the text the same way.
int RotationTenths(int degrees) {
    const std::int64_t tenths = static_cast<std::int64_t>(degrees) * 10;
    if (tenths > std::numeric_limits<int>::max() || tenths < std::numeric_limits<int>::min()) {
        return (degrees % kDegreesPerTurn) * 10;
    }
    return static_cast<int>(tenths);
}

}  // namespace

CXLabel::CXLabel(QWidget* parent) : QWidget(parent) {
    m_textColor = FromQColor(palette().color(QPalette::WindowText));
    m_defaultBackground = FromQColor(palette().color(QPalette::Button));
    // Each paint covers the whole label from the off-screen image: nothing is erased first, so
    // frequent repaints (status changes, flashing) do not flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CXLabel::~CXLabel() = default;

void CXLabel::PreSubclassWindow(int controlId, std::uint32_t style) {
    m_controlId = controlId;
    m_style = style;
    m_fontDescription = LogFontFromQFont(font(), ScreenDpiY());
    RebuildFont();
    ApplyFrame();  // the style may carry a border; no repaint while attaching
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
    // The widget exists from construction on, so the text is always kept, attached or not.
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
    m_fontDescription.faceName = FaceNameWithinLimit(face);
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
    // A point-size font measured on the screen: only its height and width are taken.
    m_fontDescription.height = PointFontHeight(ScreenDpiY(), points);
    m_fontDescription.width = 0;
    RebuildFont();
    RepaintWithParent();
    return *this;
}

CXLabel& CXLabel::SetStaticEdge(bool on) {
    SetBits(m_exStyle, kWsExStaticEdge, on);
    ApplyFrame();
    update();
    return *this;
}

CXLabel& CXLabel::SetBorder(bool on) {
    SetBits(m_style, kWsBorder, on);
    ApplyFrame();
    update();
    return *this;
}

CXLabel& CXLabel::SetTransparent(bool on) {
    m_transparent = on;
    // The extended style is added whichever way the flag goes; painting follows the flag.
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
    m_fontDescription.escapement = RotationTenths(degrees);
    m_fontDescription.orientation = m_fontDescription.escapement;
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
    m_fontDescription.faceName = FaceNameWithinLimit(m_fontDescription.faceName);
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
    // A synchronous repaint. For a label that is not opaque (transparent) Qt paints the
    // parent's content beneath it first, within the same repaint, so the parent's part
    // is brought up to date together with the label.
    repaint();
}

QImage CXLabel::RenderClient() const {
    const QSize size = contentsRect().size();
    if (size.isEmpty()) {
        return {};
    }
    const qreal ratio = devicePixelRatioF();
    QImage image(size * ratio,
                 m_transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
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
    PaintLabelFrame(painter, rect(), m_style, m_exStyle, palette());
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
    // The frame takes its pixels from the client area, as a frame change does.
    const int frame = LabelFrameWidth(m_style, m_exStyle);
    setContentsMargins(frame, frame, frame, frame);
}

void CXLabel::SetLinkStyle(bool link) {
    SetBits(m_style, kSsNotify, link);
}

void CXLabel::StartFlashing(bool on, FlashKind kind) {
    const bool wasRunning = m_flashTimer.isActive();
    m_flashTimer.stop();
    if (on) {
        // Phase 0 shows at the next repaint or tick.
        m_flashPhase = false;
        m_flashTimer.start(kFlashPeriodMs, this);
        m_flashKind = kind;
    } else if (wasRunning) {
        // Without this, a flash stopped in its hidden phase could leave the text drawn in the
        // background's colour until something else repaints the label.
        update();
    }
}

void CXLabel::OpenLink() const {
    // What the desktop does with the link is its own business; the outcome is not examined.
    if (const std::optional<QUrl> url = LabelLinkUrl(m_linkKind, m_linkTarget, m_text)) {
        QDesktopServices::openUrl(*url);
    }
}

int CXLabel::ScreenDpiY() const {
    return logicalDpiY();
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
    const bool inverted =
        m_flashKind == FlashKind::kBackground && !m_flashPhase && m_flashTimer.isActive();
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
    painter.save();
    painter.setFont(m_hasOwnFont ? m_font : font());
    painter.setPen(ToQColor(colour));
    if (m_rotate) {
        // The whole text from the centre, on its baseline, along the escapement
        // (counter-clockwise); no format and no 3D pass.
        painter.translate(client.left() + client.width() / 2, client.top() + client.height() / 2);
        painter.rotate(-m_fontDescription.escapement / 10.0);
        painter.drawText(QPointF(0, 0), m_text);
        painter.restore();
        return;
    }
    const std::uint32_t format = LabelTextFormat(m_style, m_text);
    const int escapement = m_fontDescription.escapement;
    DrawTextInRect(painter, client, m_text, format, escapement);
    if (m_text3D) {
        const int offset = m_text3DDownRight ? 1 : -1;
        painter.setPen(ToQColor(m_highlightColor));
        DrawTextInRect(painter, client.translated(offset, offset), m_text, format, escapement);
    }
    painter.restore();
}

}  // namespace zv
