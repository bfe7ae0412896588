// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#include "accessibility.h"

#include "rankselector.h"
#include "textpieces.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QTextLayout>

#include <algorithm>
#include <memory>

namespace accessibility
{

namespace
{

// A selector as a combo box with two children, the list and the edit field, like Qt's own, but
// named by its accessible name with the shown text as its value.
class SelectorInterface final : public QAccessibleWidget
{
public:
    explicit SelectorInterface(RankSelector *selector)
        : QAccessibleWidget(selector, QAccessible::ComboBox)
    {
    }

    int childCount() const override { return 2; }

    QAccessibleInterface *child(int index) const override
    {
        switch (index) {
        case 0:
            return QAccessible::queryAccessibleInterface(selector()->view());
        case 1:
            return QAccessible::queryAccessibleInterface(selector()->lineEdit());
        }
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child->object() == selector()->view())
            return 0;
        if (child->object() == selector()->lineEdit())
            return 1;
        return -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        QAccessibleInterface *edit = child(1);
        return edit && edit->rect().contains(x, y) ? edit : nullptr;
    }

    // The edit field holds the keyboard focus on the selector's behalf.
    QAccessibleInterface *focusChild() const override
    {
        return selector()->hasFocus() ? child(1) : nullptr;
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return selector()->accessibleName();
        case QAccessible::Value:
            return selector()->currentText();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }

    void doAction(const QString &action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return;
        if (selector()->view()->isVisible())
            selector()->hidePopup();
        else
            selector()->showPopup();
    }

    QStringList keyBindingsForAction(const QString &) const override { return {}; }

    // Orca's flat review reads a combo box as one piece: by its text where it has one, else by
    // its name, which would be "Card 1" whatever rank is on show. Its text is its edit field's.
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t != QAccessible::TextInterface)
            return QAccessibleWidget::interface_cast(t);
        QAccessibleInterface *edit = child(1); // none while the combo box is being built
        return edit ? edit->textInterface() : nullptr;
    }

private:
    RankSelector *selector() const { return static_cast<RankSelector *>(widget()); }
};

using textpieces::checked;
using textpieces::Range;

// Qt's kinds of piece as the text cutting knows them.
textpieces::Kind kindOf(QAccessible::TextBoundaryType kind)
{
    switch (kind) {
    case QAccessible::CharBoundary:
        return textpieces::Kind::Character;
    case QAccessible::WordBoundary:
        return textpieces::Kind::Word;
    case QAccessible::SentenceBoundary:
        return textpieces::Kind::Sentence;
    default:
        return textpieces::Kind::Whole;
    }
}

// The text laid out once per text and font, with the distance of each cursor position from the
// start measured when first asked: a screen reader asks for every character of a line in turn,
// and laying out the whole text for each would take minutes over a full field.
class TextLine
{
public:
    TextLine(const QString &text, const QFont &font)
        : m_text(text)
        , m_font(font)
        , m_layout(text, font)
        , m_x(text.size() + 1, qQNaN())
    {
        m_layout.beginLayout();
        m_line = m_layout.createLine();
        m_layout.endLayout();
    }

    // The edit field shares its text with this copy until it changes it.
    bool isOf(const QString &text, const QFont &font) const
    {
        return text.constData() == m_text.constData() && text.size() == m_text.size()
            && font == m_font;
    }

    qreal x(qsizetype cursor)
    {
        qreal &x = m_x[cursor];
        if (qIsNaN(x))
            x = m_line.cursorToX(int(cursor));
        return x;
    }

private:
    QString m_text;
    QFont m_font;
    QTextLayout m_layout;
    QTextLine m_line;
    QList<qreal> m_x;
};

// Counts a widget's repaints. A line edit scrolls its text only as it paints, so where its caret
// stands changes only with a repaint, its text or the caret's position.
class Repaints final : public QObject
{
public:
    explicit Repaints(QWidget *widget)
        : QObject(widget)
    {
        widget->installEventFilter(this);
    }

    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::Paint;
        return false;
    }
};

// A line edit as Qt's own interface presents it, but with text queries that always return. Qt
// 6.4's, asked for the word or sentence at the end of the text (where the caret is after a pick)
// or at a space that starts it, loops for ever inside the window's event loop.
class LineEditInterface final : public QAccessibleWidget,
                                public QAccessibleTextInterface,
                                public QAccessibleEditableTextInterface
{
public:
    explicit LineEditInterface(QLineEdit *edit)
        : QAccessibleWidget(edit, QAccessible::EditableText)
        , m_repaints(new Repaints(edit))
    {
        addControllingSignal(QStringLiteral("textChanged(const QString&)"));
        addControllingSignal(QStringLiteral("returnPressed()"));
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? edit()->text() : QAccessibleWidget::text(t);
    }

    void setText(QAccessible::Text t, const QString &text) override
    {
        if (t == QAccessible::Value)
            edit()->setText(text);
        else
            QAccessibleWidget::setText(t, text);
    }

    // A combo box's edit field holds the focus for it, and is labelled as the combo box is.
    QList<QPair<QAccessibleInterface *, QAccessible::Relation>> relations(
        QAccessible::Relation match) const override
    {
        auto result = QAccessibleWidget::relations(match);
        const auto *combo = qobject_cast<QComboBox *>(edit()->parentWidget());
        if (combo && combo->lineEdit() == edit() && (match & QAccessible::Label))
            result += QAccessible::queryAccessibleInterface(edit()->parentWidget())
                          ->relations(QAccessible::Label);
        return result;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.readOnly = edit()->isReadOnly();
        state.selectableText = true;
        return state;
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (t == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // Text
    QString text(int startOffset, int endOffset) const override
    {
        const QString text = edit()->text();
        const Range range = checked(text.size(), startOffset, endOffset);
        return range.valid ? text.mid(range.start, range.size) : QString();
    }
    int characterCount() const override { return int(edit()->text().size()); }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override
    {
        if (checked(characterCount(), position, position).valid)
            edit()->setCursorPosition(position);
    }

    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType kind, int *startOffset,
        int *endOffset) const override
    {
        return textpieces::pieceNear(
            edit()->text(), at(offset), kindOf(kind), -1, startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType kind, int *startOffset,
        int *endOffset) const override
    {
        return textpieces::pieceNear(
            edit()->text(), at(offset), kindOf(kind), 0, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType kind, int *startOffset,
        int *endOffset) const override
    {
        return textpieces::pieceNear(
            edit()->text(), at(offset), kindOf(kind), 1, startOffset, endOffset);
    }

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = selectionIndex == 0 ? edit()->selectionStart() : -1;
        if (*startOffset >= 0)
            *endOffset += int(edit()->selectedText().size());
    }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override
    {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
            edit()->deselect();
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        const Range range = checked(characterCount(), startOffset, endOffset);
        if (selectionIndex == 0 && range.valid)
            edit()->setSelection(int(range.start), int(range.size));
    }

    // The caret's rectangle, centred on the caret, says where the text starts however far it is
    // scrolled, and how high a line stands; the text's own layout says how far along each
    // character is.
    QRect characterRect(int offset) const override
    {
        const QString text = edit()->text();
        if (offset < 0 || offset >= text.size())
            return {};
        if (!m_line || !m_line->isOf(text, edit()->font())) {
            m_line = std::make_unique<TextLine>(text, edit()->font());
            m_caretAt = {-1, -1};
        }
        // Asking the field for its caret measures the text up to it: once per place.
        const std::pair place(m_repaints->count, edit()->cursorPosition());
        if (m_caretAt != place) {
            m_caretAt = place;
            m_caret = edit()->inputMethodQuery(Qt::ImCursorRectangle).toRectF();
        }
        const QRectF caret = m_caret;
        const qreal origin = caret.center().x() - m_line->x(place.second);
        const qreal from = m_line->x(offset), to = m_line->x(offset + 1);
        const QRect rect(qRound(origin + std::min(from, to)), qRound(caret.top()),
            qRound(std::abs(to - from)), qRound(caret.height()));
        return rect.translated(edit()->mapToGlobal(QPoint(0, 0)));
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        const Range range = checked(characterCount(), startIndex, endIndex);
        if (!range.valid)
            return;
        edit()->setCursorPosition(int(range.start + range.size));
        edit()->setCursorPosition(int(range.start));
    }
    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = offset;
        return {};
    }

    // Editable text: as typing, it changes the text and picks nothing. A range that is not in the
    // text changes nothing, and what is inserted is cut to the room the field has left, as a
    // paste is: QString would pad an insertion far past the end with spaces, gigabytes of them.
    void deleteText(int startOffset, int endOffset) override
    {
        replaceText(startOffset, endOffset, QString());
    }
    void insertText(int offset, const QString &text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString &text) override
    {
        QString now = edit()->text();
        const Range range = checked(now.size(), startOffset, endOffset);
        if (!range.valid)
            return;
        const QString fits = text.left(edit()->maxLength() - (now.size() - range.size));
        if (range.size || !fits.isEmpty())
            edit()->setText(now.replace(range.start, range.size, fits));
    }

private:
    QLineEdit *edit() const { return static_cast<QLineEdit *>(widget()); }
    Repaints *m_repaints; // the field's child
    mutable std::unique_ptr<TextLine> m_line;
    mutable std::pair<int, int> m_caretAt{-1, -1};
    mutable QRectF m_caret;
    // -2 stands for the caret and -1 for the end of the text.
    int at(int offset) const
    {
        return offset == -2 ? cursorPosition() : offset == -1 ? characterCount() : offset;
    }
};

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (className == QLatin1String(QLineEdit::staticMetaObject.className()))
        return new LineEditInterface(static_cast<QLineEdit *>(object));
    if (className == QLatin1String(RankSelector::staticMetaObject.className()))
        return new SelectorInterface(static_cast<RankSelector *>(object));
    if (className == QLatin1String(AnswerNotice::staticMetaObject.className()))
        return new QAccessibleWidget(
            static_cast<AnswerNotice *>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

void installInterfaces()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

QString spokenAnswer(const QString &result)
{
    return result.isEmpty() ? QStringLiteral("no win chance")
                            : QStringLiteral("win chance ") + result;
}

} // namespace accessibility

AnswerNotice::AnswerNotice(QWidget *parent)
    : QWidget(parent)
{
    setGeometry(0, 0, 0, 0);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Silent until there is an answer to tell, even when the window around it is shown.
    hide();
}

void AnswerNotice::announce(const QString &text)
{
    setAccessibleName(text);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Qt 6.8 sends an announcement with its text, which Orca 48 and 51 speak wherever the focus
    // is. The notice stays hidden: appearing too, it would be heard twice.
    QAccessibleAnnouncementEvent event(parentWidget(), text);
    QAccessible::updateAccessibility(&event);
#else
    // Appearing is what the screen reader speaks, so the notice appears anew for each answer.
    hide();
    show();
#endif
}
