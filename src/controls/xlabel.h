#pragma once

#include "controls/color_ref.h"
#include "controls/link_url.h"
#include "controls/log_font.h"
#include "controls/static_style.h"

#include <QBasicTimer>
#include <QCursor>
#include <QFont>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <optional>

class QImage;
class QPainter;

namespace zv {

// A static text control that paints itself: text colour, solid or gradient background, its own
// font, 3D text, flashing and link behaviour. Every change of appearance repaints it at once.
// Every operation runs on the GUI thread that owns the widget; the flash timer is a widget timer
// delivered on that same thread, so nothing is locked.
class CXLabel : public QWidget {
    Q_OBJECT

public:
    // Window style bits a static control of the layout carries.
    static constexpr std::uint32_t kSsLeft = ss::kLeft;
    static constexpr std::uint32_t kSsCenter = ss::kCenter;
    static constexpr std::uint32_t kSsRight = ss::kRight;
    static constexpr std::uint32_t kSsLeftNoWordWrap = ss::kLeftNoWordWrap;
    static constexpr std::uint32_t kSsNotify = ss::kNotify;
    static constexpr std::uint32_t kSsCenterImage = ss::kCenterImage;
    static constexpr std::uint32_t kWsBorder = ss::kWsBorder;
    static constexpr std::uint32_t kWsExTransparent = ss::kWsExTransparent;
    static constexpr std::uint32_t kWsExStaticEdge = ss::kWsExStaticEdge;
    // Code of the link-click notification sent to the parent.
    static constexpr int kLinkClickCode = 0x8200;
    // Period of the flash timer.
    static constexpr int kFlashPeriodMs = 500;
    static constexpr int kWeightBold = 700;
    static constexpr int kWeightNormal = 400;

    using LinkKind = LabelLinkKind;
    enum class FlashKind { kNone = 0, kText = 1, kBackground = 2 };

    explicit CXLabel(QWidget* parent = nullptr);
    ~CXLabel() override;

    // Attaches the label to a control of a layout: keeps its id and style and takes the
    // widget's current font as the font description. No repaint.
    void PreSubclassWindow(int controlId, std::uint32_t style);

    // The chainable operations; each returns the label itself.
    virtual CXLabel& SetBackground(ColorRef colour, ColorRef endColour = 0, bool gradient = false);
    virtual CXLabel& SetTextColor(ColorRef colour);
    virtual CXLabel& SetText(const QString& text);
    virtual CXLabel& SetBold(bool bold);
    virtual CXLabel& SetFaceName(const QString& face, std::uint8_t charSet = 1);
    virtual CXLabel& SetUnderline(bool underline);
    virtual CXLabel& SetItalic(bool italic);
    virtual CXLabel& SetPointSize(int points);
    virtual CXLabel& SetStaticEdge(bool on);
    virtual CXLabel& SetBorder(bool on);
    virtual CXLabel& SetTransparent(bool on);
    virtual CXLabel& SetTextFlashing(bool on);
    virtual CXLabel& SetBackgroundFlashing(bool on);
    virtual CXLabel& SetWebLink(bool link, std::uint32_t notify = 0);
    virtual CXLabel& SetHoverCursor(const std::optional<QCursor>& cursor);
    virtual CXLabel& SetText3D(bool on, bool direction = false);
    virtual CXLabel& SetRotation(int degrees, bool rotate = true);
    virtual CXLabel& SetHighlightColor(ColorRef colour);
    virtual CXLabel& SetLogFont(LogFont font);
    virtual CXLabel& SetMailtoLink(bool link, std::uint32_t notify = 0);
    virtual CXLabel& SetLinkTarget(const QString& target);

    // Repaints the label at once, together with what the parent shows beneath it.
    void RepaintWithParent();

    QString Text() const { return m_text; }
    int ControlId() const { return m_controlId; }
    std::uint32_t Style() const { return m_style; }
    std::uint32_t ExStyle() const { return m_exStyle; }
    ColorRef TextColor() const { return m_textColor; }
    ColorRef HighlightColor() const { return m_highlightColor; }
    ColorRef BackgroundColor() const { return m_backgroundColor; }
    ColorRef GradientEndColor() const { return m_gradientEndColor; }
    bool IsGradient() const { return m_gradient; }
    bool IsTransparent() const { return m_transparent; }
    bool IsText3D() const { return m_text3D; }
    bool IsText3DDownRight() const { return m_text3DDownRight; }
    bool IsRotated() const { return m_rotate; }
    // The solid background made by SetBackground; none with a gradient or before any.
    std::optional<ColorRef> CustomBackground() const { return m_customBackground; }
    // The background when there is no custom one: the palette's button face.
    ColorRef DefaultBackground() const { return m_defaultBackground; }
    // The colour the hidden phase of a text flash draws the text in: the custom background's
    // colour, or black without one.
    ColorRef FlashColor() const { return m_customBackground.value_or(0); }
    bool FlashPhase() const { return m_flashPhase; }
    FlashKind CurrentFlashKind() const { return m_flashKind; }
    bool IsFlashTimerRunning() const { return m_flashTimer.isActive(); }
    int FlashTimerId() const { return m_flashTimer.timerId(); }
    LinkKind CurrentLinkKind() const { return m_linkKind; }
    std::uint32_t NotifyOnClick() const { return m_notifyOnClick; }
    QString LinkTarget() const { return m_linkTarget; }
    const std::optional<QCursor>& HoverCursor() const { return m_hoverCursor; }
    const LogFont& FontDescription() const { return m_fontDescription; }
    // The font the label draws with, built from the font description.
    const QFont& DrawingFont() const { return m_font; }

    // The client area as drawn, without the frame: what one paint copies to the screen.
    QImage RenderClient() const;

signals:
    // A click on a notifying link: (control id, kLinkClickCode).
    void linkNotified(int controlId, int code);

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void RebuildFont();
    void ApplyFrame();
    void SetLinkStyle(bool link);
    void StartFlashing(bool on, FlashKind kind);
    void OpenLink() const;
    // Dots per inch of the screen the label is on, as fonts measure there.
    int ScreenDpiY() const;
    void PaintClient(QPainter& painter, const QRect& client) const;
    void FillBackground(QPainter& painter, const QRect& client) const;
    void DrawLabelText(QPainter& painter, const QRect& client, ColorRef colour) const;

    ColorRef m_textColor = 0;
    ColorRef m_highlightColor = Rgb(255, 255, 255);
    ColorRef m_defaultBackground = 0;
    std::optional<ColorRef> m_customBackground;
    LogFont m_fontDescription;
    QFont m_font;
    // Set once the label's own font has been built (attached, or a font operation ran); until
    // then it draws with the widget's font.
    bool m_hasOwnFont = false;
    bool m_flashPhase = false;
    QBasicTimer m_flashTimer;
    LinkKind m_linkKind = LinkKind::kNone;
    bool m_transparent = false;
    bool m_text3D = false;
    std::uint32_t m_notifyOnClick = 0;
    bool m_rotate = false;
    FlashKind m_flashKind = FlashKind::kNone;
    std::optional<QCursor> m_hoverCursor;
    bool m_text3DDownRight = false;
    bool m_gradient = false;
    ColorRef m_gradientEndColor = 0;
    ColorRef m_backgroundColor = 0;
    QString m_linkTarget;
    QString m_text;
    int m_controlId = 0;
    std::uint32_t m_style = 0;
    std::uint32_t m_exStyle = 0;
};

}  // namespace zv
