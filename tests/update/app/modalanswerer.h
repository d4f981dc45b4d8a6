#pragma once

#include <QObject>
#include <QQueue>
#include <QStringList>
#include <QTimer>

// Answers the updater's modal boxes the way a user would, in the order given, and remembers
// what each box said.
class ModalAnswerer : public QObject
{
    Q_OBJECT
public:
    enum Answer { Confirm, Cancel };

    explicit ModalAnswerer(QObject *parent = nullptr);

    // Answers to give, in order; once used up, every further box is confirmed.
    void enqueue(Answer answer) { m_answers.enqueue(answer); }
    QStringList texts() const { return m_texts; }
    QStringList titles() const { return m_titles; }
    // Whether the boxes answered showed their cancel button.
    QList<bool> cancelShown() const { return m_cancelShown; }
    int count() const { return m_texts.size(); }

private:
    void poll();

    QTimer m_timer;
    QQueue<Answer> m_answers;
    QStringList m_texts;
    QStringList m_titles;
    QList<bool> m_cancelShown;
};
