#include "pageitems.h"

#include <QMetaObject>

QObject *PageItems::find(const QString &objectName) const
{
    if (!m_root)
        return nullptr;
    if (m_root->objectName() == objectName)
        return m_root;
    return m_root->findChild<QObject *>(objectName);
}

QRect PageItems::area() const
{
    if (!m_root)
        return {};
    return QRect(m_root->property("x").toInt(), m_root->property("y").toInt(),
                 m_root->property("width").toInt(), m_root->property("height").toInt());
}

void PageItems::invoke(const char *method, Qt::ConnectionType type)
{
    if (m_root)
        QMetaObject::invokeMethod(m_root, method, type);
}

void PageItems::set(const QString &objectName, const char *property, const QVariant &value)
{
    if (QObject *item = find(objectName))
        item->setProperty(property, value);
}

void PageItems::setMaskVisible(bool visible)
{
    set(QStringLiteral("bgMask_msgbox"), "visible", visible);
}

void PageItems::showPreviewTip()
{
    set(QStringLiteral("preTip"), "visible", true);
}

void PageItems::showVersion(const QString &version)
{
    set(QStringLiteral("versionText"), "text", QString(version + QLatin1Char(' ')));
}

void PageItems::showInstallPath(const QString &path)
{
    set(QStringLiteral("curinstallPath"), "text", path);
}

void PageItems::showDownloadPercentage(const QString &text)
{
    set(QStringLiteral("download_percentage"), "text", text);
}

void PageItems::showDownloadSpeed(const QString &text)
{
    set(QStringLiteral("download_speed"), "text", text);
}

void PageItems::showTimeLeft(const QString &text)
{
    set(QStringLiteral("task_needtime"), "text", text);
}

void PageItems::showSetupPercentage(const QString &text)
{
    set(QStringLiteral("setup_percentage"), "text", text);
}

void PageItems::setPauseButtonImages(const QString &stem)
{
    set(QStringLiteral("pauseDownloadBtn"), "nomal_Image", QString(stem + "_n.png"));
    set(QStringLiteral("pauseDownloadBtn"), "hover_Image", QString(stem + "_o.png"));
    set(QStringLiteral("pauseDownloadBtn"), "press_Image", QString(stem + "_d.png"));
}

void PageItems::setWebViewVisible(bool visible)
{
    set(QStringLiteral("bgWebView"), "visible", visible);
}

bool PageItems::reloadWebView()
{
    QObject *view = find(QStringLiteral("bgWebView"));
    if (!view)
        return false;
    QMetaObject::invokeMethod(view, "reload", Qt::QueuedConnection);
    return true;
}

void PageItems::hideCommunityButtons()
{
    set(QStringLiteral("bbsBtn"), "visible", false);
    set(QStringLiteral("websiteBtn"), "visible", false);
}

void PageItems::showActivityIcon(bool visible, const QString &image)
{
    set(QStringLiteral("viewActivity"), "visible", visible);
    set(QStringLiteral("viewActivity"), "nomal_Image", image);
    set(QStringLiteral("viewActivity"), "hover_Image", image);
    set(QStringLiteral("viewActivity"), "press_Image", image);
}
