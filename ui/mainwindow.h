// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#pragma once

// The program's one window. Two RankSelectors (Combo1, Combo2) hold the cards, Check1 says
// whether they share a suit, and Text1 shows the win chance. A pick in either selector and a
// toggle of the box each run eval::ShowOdds once, through a hand view over these widgets; the
// evaluation never sees a widget. The layout is fixed, designed in twips (twips.h). The Help
// button shows a modal usage message (helpmessage.h).

#include <QList>
#include <QWidget>

#include <memory>
#include <optional>

class AnswerNotice;
class FrameWatch;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class RankSelector;

namespace eval
{
class HandView;
}

class MainWindow : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void Form_Load();
    void Combo1_Click();
    void Combo2_Click();
    void Check1_Click();
    void help_Click();

    void buildControls();
    void announceAnswer(const QString &choice);
    QPoint centre(QMargins frame);

    RankSelector *m_combo1 = nullptr;
    RankSelector *m_combo2 = nullptr;
    QLineEdit *m_text1 = nullptr;
    QCheckBox *m_check1 = nullptr;
    QLabel *m_label1 = nullptr;
    QPushButton *m_help = nullptr;
    QLabel *m_label2 = nullptr;
    QLabel *m_label3 = nullptr;
    AnswerNotice *m_notice = nullptr;
    QList<QLabel *> m_cardLabels;
    std::unique_ptr<eval::HandView> m_handView;
    bool m_shown = false;
    std::unique_ptr<FrameWatch> m_frameWatch;
    // Where the window was last centred, once it has been centred in its frame.
    std::optional<QPoint> m_centredAt;
};
