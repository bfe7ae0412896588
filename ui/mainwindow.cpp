// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#include "mainwindow.h"

#include "accessibility.h"
#include "helpmessage.h"
#include "identity.h"
#include "odds.h"
#include "rankselector.h"
#include "tables.h"
#include "twips.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <functional>

#if defined(QUORVEL_XCB) && QT_CONFIG(xcb)
#include <QGuiApplication>
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>
#endif

namespace
{

// The window's two faces, and the one place that says what stands for them. Windows has the
// design's own faces. Elsewhere they are named by the metric-compatible faces of the
// fonts-liberation package, not through a font substitution, which makes Qt look up the fallbacks
// of both names at start-up, at a cost that grows with every face installed.
enum class Face { SansSerif, Narrow };

QString family(Face face)
{
#ifdef Q_OS_WIN
    return face == Face::SansSerif ? QStringLiteral("MS Sans Serif")
                                   : QStringLiteral("Arial Narrow");
#else
    return face == Face::SansSerif ? QStringLiteral("Liberation Sans")
                                   : QStringLiteral("Liberation Sans Narrow");
#endif
}

QFont designFont(Face face, qreal points, QFont::Weight weight = QFont::Normal)
{
    QFont font(family(face));
    // Where the face is missing, a sans serif rather than whatever fontconfig ranks first.
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setWeight(weight);
    return font;
}

QFont sansSerif(qreal points, QFont::Weight weight = QFont::Normal)
{
    return designFont(Face::SansSerif, points, weight);
}

const QColor Grey(0xC0, 0xC0, 0xC0);

// Read as the PNG it is: left to guess the format, the reader loads every image format plugin
// installed to ask each whether it knows the file, which costs start-up time.
QImage readIcon()
{
    QImageReader reader(QStringLiteral(":/icons/quorvel.png"), "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// On the grey, in the desktop's own colour for text on a selection, looked up when drawn.
QLabel *makeLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setForegroundRole(QPalette::HighlightedText);
    return label;
}

// The window's grey behind a control that paints its own background.
void fillGrey(QWidget *widget)
{
    widget->setBackgroundRole(QPalette::Window);
    widget->setAutoFillBackground(true);
}

template <typename Control>
Control *place(Control *control, const char *name, QRect geometry, const QFont &font)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    control->setFont(font);
    return control;
}

// A check box that toggles on a click anywhere in its area, not only on its indicator; a screen
// reader is given the same area. Qt asks the style for both.
class WholeAreaCheckStyle final : public QProxyStyle
{
public:
    QRect subElementRect(
        SubElement element, const QStyleOption *option, const QWidget *widget) const override
    {
        if (element == SE_CheckBoxClickRect)
            return option->rect;
        return QProxyStyle::subElementRect(element, option, widget);
    }
};

std::int16_t suitedStateOf(Qt::CheckState state)
{
    switch (state) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    }
    return 0;
}

} // namespace

// The evaluation's view of the window: the selectors' edit texts as UTF-8, the box's state, and
// the result box to write.
class WindowHandView final : public eval::HandView
{
public:
    WindowHandView(
        const QComboBox &card1, const QComboBox &card2, const QCheckBox &suited, QLineEdit &result)
        : m_card1(card1)
        , m_card2(card2)
        , m_suited(suited)
        , m_result(result)
    {
    }

    std::string card1Text() const override { return m_card1.currentText().toStdString(); }
    std::string card2Text() const override { return m_card2.currentText().toStdString(); }
    std::int16_t suitedState() const override { return suitedStateOf(m_suited.checkState()); }
    void setResult(std::string_view text) override
    {
        m_result.setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }

private:
    const QComboBox &m_card1;
    const QComboBox &m_card2;
    const QCheckBox &m_suited;
    QLineEdit &m_result;
};

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent)
{
    accessibility::installInterfaces();
    // Each control lays out its text once in the application font before its own font reaches
    // it. Built in the window's font, none needs the desktop's font at all; the desktop's font
    // comes back for everything else, the Help message among it.
    const QFont desktopFont = QApplication::font();
    QApplication::setFont(sansSerif(8.25));
    buildControls();
    QApplication::setFont(desktopFont);
    m_handView = std::make_unique<WindowHandView>(*m_combo1, *m_combo2, *m_check1, *m_text1);

    connect(m_combo1, &RankSelector::picked, this, &MainWindow::Combo1_Click);
    connect(m_combo2, &RankSelector::picked, this, &MainWindow::Combo2_Click);
    // Its value changes by a click, by Space, or by an assistive technology's Toggle action,
    // which emits no `clicked`; nothing else sets it, so each change is one Click.
    connect(m_check1, &QCheckBox::toggled, this, &MainWindow::Check1_Click);
    connect(m_help, &QPushButton::clicked, this, &MainWindow::help_Click);

    Form_Load();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls()
{
    setObjectName(QStringLiteral("mainwindow"));
    setWindowTitle(QString::fromLatin1(identity::Title));
    setWindowIcon(QPixmap::fromImage(readIcon()));
    // In the window's logical DPI; the window is not yet shown, so it is the primary screen's.
    const twips::Scale scale(*this);
    setFixedSize(scale.size(3645, 1800));
    // One size, so no maximise button or function for a window manager to offer.
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);

    // Most controls share this font; set first, the controls are built in it rather than built in
    // the default font and then laid out again.
    setFont(sansSerif(8.25));

    QPalette grey = palette();
    grey.setColor(QPalette::Window, Grey);
    setPalette(grey);
    setAutoFillBackground(true);

    // Each control as the design has it: name, place in twips, font.
    m_combo1 = place(new RankSelector(QStringLiteral("Card 1"), this), "Combo1",
        scale.rect(120, 720, 855, 315), sansSerif(8.25));
    m_combo2 = place(new RankSelector(QStringLiteral("Card 2"), this), "Combo2",
        scale.rect(1200, 720, 855, 315), sansSerif(8.25));
    m_text1 = place(new QLineEdit(this), "Text1", scale.rect(2280, 660, 855, 450),
        sansSerif(13.5, QFont::Bold));
    m_check1 = place(new QCheckBox(QStringLiteral("Check1"), this), "Check1",
        scale.rect(1080, 1200, 255, 495), sansSerif(8.25));
    m_label1 = place(makeLabel(QStringLiteral("Suited"), this), "Label1",
        scale.rect(120, 1320, 855, 375), sansSerif(9.75, QFont::Bold));
    m_help = place(new QPushButton(QStringLiteral("Help"), this), "help",
        scale.rect(120, 120, 735, 255), sansSerif(8.25));
    m_label2 = place(makeLabel(QStringLiteral("To Win"), this), "Label2",
        scale.rect(2400, 1200, 735, 255), sansSerif(8.25, QFont::Bold));
    // Reaches past the window's right and bottom edges; the window clips it.
    m_label3 = place(makeLabel(QString::fromLatin1(identity::WebAddress), this), "Label3",
        scale.rect(2520, 1560, 1455, 375), designFont(Face::Narrow, 6.75));

    m_notice = new AnswerNotice(this);
    m_notice->setObjectName(QStringLiteral("answerNotice"));
    // The cards have no label on screen; these name them to a screen reader, and carry the
    // standing answer (announceAnswer).
    for (RankSelector *card : {m_combo1, m_combo2}) {
        auto *label = new QLabel(this);
        label->setObjectName(card->objectName() + QStringLiteral("Label"));
        label->setAccessibleName(card->accessibleName());
        label->setBuddy(card);
        label->hide();
        m_cardLabels.append(label);
    }

    m_text1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Only the tick box shows: the caption lies beyond the control's width. Label1 names it.
    fillGrey(m_check1);
    fillGrey(m_label1);
    fillGrey(m_label2);
    auto *checkStyle = new WholeAreaCheckStyle;
    checkStyle->setParent(m_check1);
    m_check1->setStyle(checkStyle);
    // Outside a dialog a push button ignores Enter; the player expects it to press the focused
    // button. Nothing makes it the window's default button.
    m_help->setAutoDefault(true);

    // What a screen reader says for the controls that take the focus: the selectors name
    // themselves, the button by its caption, the labels name what they stand beside. Without a
    // mnemonic in their text, a buddy gives the labels no shortcut and no click.
    m_text1->setAccessibleName(QStringLiteral("Win chance"));
    m_check1->setAccessibleName(QStringLiteral("Suited"));
    m_label1->setBuddy(m_check1);
    m_label2->setBuddy(m_text1);
    // Until the cursor has been placed once, the first focus reports a caret move ahead of the
    // focus itself, and Orca then takes the box as already announced.
    m_text1->setCursorPosition(0);

    setTabOrder(m_combo1, m_combo2);
    setTabOrder(m_combo2, m_text1);
    setTabOrder(m_text1, m_check1);
    setTabOrder(m_check1, m_help);
    m_combo1->setFocus();
}

void MainWindow::Form_Load()
{
    for (RankSelector *selector : {m_combo1, m_combo2})
        for (std::string_view rank : eval::RankLabels)
            selector->addItem(
                QString::fromLatin1(rank.data(), static_cast<qsizetype>(rank.size())));
}

void MainWindow::Combo1_Click()
{
    eval::ShowOdds(*m_handView);
    announceAnswer(m_combo1->currentText());
}

void MainWindow::Combo2_Click()
{
    eval::ShowOdds(*m_handView);
    announceAnswer(m_combo2->currentText());
}

void MainWindow::Check1_Click()
{
    eval::ShowOdds(*m_handView);
    announceAnswer(m_check1->isChecked() ? QStringLiteral("suited") : QStringLiteral("offsuit"));
}

// The answer is heard at once wherever the focus is, and kept where a screen reader reads it on
// focus and on Where Am I, in the channel each Qt serves best.
void MainWindow::announceAnswer(const QString &choice)
{
    const QString answer = accessibility::spokenAnswer(m_text1->text());
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Qt 6.8 reports a description change with its text, which Orca 48 and 51 keep; they no longer
    // read a focused control's label. A card is presented on focus as its selector and on Where Am
    // I as its field, so both carry it. The change is no way to tell the answer: Orca speaks it
    // only in the focused control, and Orca 51 not at all when it is close to the old text, as
    // "win chance 32%" is to "win chance 35%".
    for (QWidget *control : std::initializer_list<QWidget *>{
             m_combo1, m_combo1->lineEdit(), m_combo2, m_combo2->lineEdit(), m_check1})
        control->setAccessibleDescription(answer);
#else
    // In labels, which never hold the focus: Orca 43 fails on a name or description change of the
    // control it is on, since Qt 6.4 sends an object where the new text belongs, and without that
    // change the control would go on saying the old answer.
    for (QLabel *label : m_cardLabels)
        label->setAccessibleName(label->buddy()->accessibleName() + QStringLiteral(", ") + answer);
    m_label1->setAccessibleName(m_label1->text() + QStringLiteral(", ") + answer);
#endif
    m_notice->announce(choice + QStringLiteral(", ") + answer);
}

void MainWindow::help_Click()
{
    showHelpMessage(this);
}

// What an X11 window manager says of the window's frame: the size of its edges, in
// _NET_FRAME_EXTENTS, which it sets when it frames the window and again when the frame changes.
// Qt reads that property only after the window is next configured, and until then takes the
// frame's size from the window tree, where kwin's frame is still 1x1 when the window first
// appears (kwin_x11 5.27 and 6.3): so it is watched here, as the manager sets it.
class FrameWatch final : public QAbstractNativeEventFilter
{
public:
#if defined(QUORVEL_XCB) && QT_CONFIG(xcb)
    // None where there is no X11 window manager that tells the frame's size.
    static std::unique_ptr<FrameWatch> of(QWidget &window, std::function<void(QMargins)> told)
    {
        // Qt's offscreen platform offers the interface too, without a connection.
        const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
        if (!connection || QGuiApplication::platformName() != QLatin1String("xcb"))
            return nullptr;
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        const xcb_atom_t extents = atom(connection, "_NET_FRAME_EXTENTS");
        const std::vector<std::uint32_t> supported
            = property(connection, root, atom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM);
        if (std::find(supported.begin(), supported.end(), extents) == supported.end())
            return nullptr;
        auto watch = std::unique_ptr<FrameWatch>(new FrameWatch);
        watch->m_connection = connection;
        watch->m_window = static_cast<xcb_window_t>(window.winId());
        watch->m_extents = extents;
        watch->m_told = std::move(told);
        qApp->installNativeEventFilter(watch.get());
        // Asked for before the window is mapped, a manager that can tells the frame's size
        // at once, and the window first appears where it belongs.
        const xcb_atom_t request = atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
        if (std::find(supported.begin(), supported.end(), request) != supported.end()) {
            xcb_client_message_event_t message = {};
            message.response_type = XCB_CLIENT_MESSAGE;
            message.format = 32;
            message.window = watch->m_window;
            message.type = request;
            xcb_send_event(connection, false, root,
                XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                reinterpret_cast<const char *>(&message));
            xcb_flush(connection);
        }
        return watch;
    }

    ~FrameWatch() override { qApp->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if (type != "xcb_generic_event_t" || (event->response_type & 0x7F) != XCB_PROPERTY_NOTIFY)
            return false;
        const auto *change = static_cast<const xcb_property_notify_event_t *>(message);
        if (change->window != m_window || change->atom != m_extents
            || change->state != XCB_PROPERTY_NEW_VALUE)
            return false;
        const std::vector<std::uint32_t> edges
            = property(m_connection, m_window, m_extents, XCB_ATOM_CARDINAL);
        if (edges.size() == 4) // left, right, top, bottom
            m_told(QMargins(static_cast<int>(edges[0]), static_cast<int>(edges[2]),
                static_cast<int>(edges[1]), static_cast<int>(edges[3])));
        return false;
    }

private:
    FrameWatch() = default;

    static xcb_atom_t atom(xcb_connection_t *connection, const char *name)
    {
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection,
                xcb_intern_atom(
                    connection, false, static_cast<std::uint16_t>(std::strlen(name)), name),
                nullptr),
            &std::free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    static std::vector<std::uint32_t> property(
        xcb_connection_t *connection, xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
    {
        const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(connection,
                xcb_get_property(connection, false, window, name, type, 0, 1024), nullptr),
            &std::free);
        if (!reply || reply->type != type || reply->format != 32)
            return {};
        const auto *values
            = static_cast<const std::uint32_t *>(xcb_get_property_value(reply.get()));
        return {values, values + xcb_get_property_value_length(reply.get()) / 4};
    }

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_window = XCB_WINDOW_NONE;
    xcb_atom_t m_extents = XCB_ATOM_NONE;
    std::function<void(QMargins)> m_told;
#else
    static std::unique_ptr<FrameWatch> of(QWidget &, std::function<void(QMargins)>)
    {
        return nullptr;
    }
    bool nativeEventFilter(const QByteArray &, void *, qintptr *) override { return false; }
#endif
};

void MainWindow::showEvent(QShowEvent *event)
{
    // Centred before the window is first mapped, as if it had no frame; a window manager that
    // frames it says how large the frame is, and then the frame is centred instead.
    if (!m_shown) {
        m_shown = true;
        centre({});
        m_frameWatch = FrameWatch::of(*this, [this](QMargins frame) {
            // Until the player moves the window, it follows a change of its frame; once moved, it
            // stays where it was put. Qt's position is the one asked for until the window
            // manager says otherwise.
            if (!m_centredAt || windowHandle()->position() == *m_centredAt)
                m_centredAt = centre(frame);
        });
    }
    QWidget::showEvent(event);
}

// The window with a frame of these edges, in device pixels, centred in the area the desktop
// leaves free (a top bar, a panel). On a screen smaller than the frame, its top-left corner
// stays on the screen, where Help and the first card are.
QPoint MainWindow::centre(QMargins frame)
{
    const QScreen *screen = this->screen();
    if (!screen)
        return pos();
    const qreal ratio = windowHandle()->devicePixelRatio();
    const QMargins edges(qRound(frame.left() / ratio), qRound(frame.top() / ratio),
        qRound(frame.right() / ratio), qRound(frame.bottom() / ratio));
    const QRect available = screen->availableGeometry();
    const QSize framed = size().grownBy(edges);
    const QPoint corner(
        std::max(available.left() + (available.width() - framed.width()) / 2, available.left()),
        std::max(available.top() + (available.height() - framed.height()) / 2, available.top()));
    const QPoint at = corner + QPoint(edges.left(), edges.top());
    windowHandle()->setPosition(at);
    return at;
}

// While the Help message is open the window takes no input, and a request to close it is input.
// On X11 Qt refuses it; a Wayland compositor's close reaches the window all the same.
void MainWindow::closeEvent(QCloseEvent *event)
{
    if (QApplication::activeModalWidget())
        event->ignore();
    else
        QWidget::closeEvent(event);
}

// The window has one size: a window manager asked to make it fill the screen (from its menu, a
// pager or wmctrl) is told to leave it as it was.
void MainWindow::changeEvent(QEvent *event)
{
    constexpr Qt::WindowStates filling = Qt::WindowMaximized | Qt::WindowFullScreen;
    if (event->type() == QEvent::WindowStateChange && (windowState() & filling))
        setWindowState(windowState() & ~filling);
    QWidget::changeEvent(event);
}
