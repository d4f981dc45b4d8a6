#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

// Answers every modal dialog as soon as it appears, the way a player would, and counts them:
// flows that ask the player block in exec() until someone does.
class DialogWatcher : public QObject
{
    Q_OBJECT
public:
    explicit DialogWatcher(QObject *parent = nullptr);

    // Accept (OK) or reject (cancel, Escape) the dialogs from now on; accepting is the default.
    void setAccept(bool accept) { m_accept = accept; }
    int count() const { return m_classNames.size(); }
    // The class of each dialog answered, in order.
    QStringList classNames() const { return m_classNames; }
    // The texts each dialog showed (labels and text views), one entry per dialog.
    QStringList texts() const { return m_texts; }
    void clear()
    {
        m_classNames.clear();
        m_texts.clear();
    }

private:
    void poll();

    QTimer m_timer;
    bool m_accept = true;
    QStringList m_classNames;
    QStringList m_texts;
};
