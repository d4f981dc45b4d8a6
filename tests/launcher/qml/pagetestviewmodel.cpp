#include "pagetestviewmodel.h"

PageTestViewModel::PageTestViewModel(QObject *parent)
    : QObject(parent)
{}

void PageTestViewModel::setGameState(int state)
{
    m_startGameEnable = state == 3;
    m_startGameVisible = state == 1 || state == 3 || state == 6 || state == 7 || state == 9;
    m_updateEnable = state == 4;
    m_installEnable = state == 2;
    m_downloading = state == 6;
    m_setupGameing = state == 7 || state == 9;
    emit gameStateChanged();
}

void PageTestViewModel::setDownloadNotComplated(bool value)
{
    m_downloadNotComplated = value;
    emit gameStateChanged();
}

void PageTestViewModel::setHasNewProgramVersion(bool value)
{
    m_hasNewProgramVersion = value;
    emit newProgramVersionUpdate();
}

QString PageTestViewModel::btnMoreActiveJumpUrl()
{
    calls << "btnMoreActiveJumpUrl";
    return promotionUrl;
}

void PageTestViewModel::startGameBtnClicked()
{
    calls << "startGameBtnClicked";
    windowVisibleWhenGameStarted = m_window && m_window->isVisible();
}
