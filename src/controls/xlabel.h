#pragma once

#include "controls/color_ref.h"
#include "controls/log_font.h"

#include <QCursor>
#include <QFont>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <optional>

namespace zv {

// A static text control that paints itself: text colour, solid or gradient background, its own
// font, 3D text, flashing and link behaviour. GUI thread only; the flash timer is a widget timer
// on the same thread.
class CXLabel : public QWidget {
    Q_OBJECT

public:
    // Window style bits a static control of the layout carries.
    static constexpr std::uint32_t kSsLeft = 0x0;
    static constexpr std::uint32_t kSsCenter = 0x1;
    static constexpr std::uint32_t kSsRight = 0x2;
    static constexpr std::uint32_t kSsLeftNoWordWrap = 0xC;
    static constexpr std::uint32_t kSsNotify = 0x100;
    static constexpr std::uint32_t kSsCenterImage = 0x200;
    static constexpr std::uint32_t kWsBorder = 0x800000;
    static constexpr std::uint32_t kWsExTransparent = 0x20;
    static constexpr std::uint32_t kWsExStaticEdge = 0x20000;
    // Code of the link-click notification sent to the parent.
    static constexpr int kLinkClickCode = 0x8200;

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

    QString Text() const { return m_text; }
    int ControlId() const { return m_controlId; }
    std::uint32_t Style() const { return m_style; }
    std::uint32_t ExStyle() const { return m_exStyle; }
    ColorRef TextColor() const { return m_textColor; }
    ColorRef BackgroundColor() const { return m_backgroundColor; }
    const LogFont& FontDescription() const { return m_fontDescription; }
    // The font the label draws with, built from the font description.
    const QFont& DrawingFont() const { return m_font; }

signals:
    // A click on a notifying link: (control id, kLinkClickCode).
    void linkNotified(int controlId, int code);

private:
    // Members are defined by the implementation (xlabel.cpp).
    QString m_text;
    int m_controlId = 0;
    std::uint32_t m_style = 0;
    std::uint32_t m_exStyle = 0;
    ColorRef m_textColor = 0;
    ColorRef m_backgroundColor = 0;
    LogFont m_fontDescription;
    QFont m_font;
};

}  // namespace zv
