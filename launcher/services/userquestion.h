#pragma once

#include <QString>

#include <functional>

// A question a service puts to the player. The service words it; the program puts it in its
// message box (QuestionBox), so the services need no widgets and link none.
struct UserQuestion
{
    enum class Placement {
        // Where the box places itself.
        Free,
        // Centred over the page.
        OverPage,
        // Centred over the page, which dims behind it.
        OverDimmedPage,
    };

    QString title;
    // May carry HTML.
    QString text;
    // Empty: the box's own.
    QString confirmText;
    bool withCancel = false;
    Placement placement = Placement::Free;
};

// Puts the question and returns true when the player confirmed. It may run an event loop in
// which the asking object goes away. A service without one takes every question as declined.
using UserAsker = std::function<bool(const UserQuestion &question)>;
