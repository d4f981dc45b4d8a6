#pragma once

#include <QRect>

#include "userquestion.h"

class QObject;

// Puts the services' questions to the player in the launcher's message box, over the page's
// window and its dimming layer.
class QuestionBox
{
public:
    // An asker whose boxes go over window (a QWindow or a QWidget, not owned; it may go away
    // before the asker does).
    static UserAsker over(QObject *window);
    // Asks in a modal box; true when confirmed.
    static bool ask(const UserQuestion &question, QObject *window);
    // The window's place on the screen; empty for no window.
    static QRect areaOf(const QObject *window);
};
