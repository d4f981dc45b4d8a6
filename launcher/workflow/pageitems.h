#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QVariant>

// The page items the view model writes directly, found by their object names: beside the
// bound properties the page's other interface, so every name it uses is here. Writes to a
// page not (or no longer) there are dropped.
class PageItems
{
public:
    void setRoot(QObject *root) { m_root = root; }
    QObject *root() const { return m_root; }
    QObject *find(const QString &objectName) const;
    // The window's x, y, width and height; empty without a page.
    QRect area() const;
    void invoke(const char *method, Qt::ConnectionType type = Qt::QueuedConnection);

    void setMaskVisible(bool visible);
    void showPreviewTip();
    void showVersion(const QString &version);
    void showInstallPath(const QString &path);
    void showDownloadPercentage(const QString &text);
    void showDownloadSpeed(const QString &text);
    void showTimeLeft(const QString &text);
    void showSetupPercentage(const QString &text);
    // The pause button's three images: stem + "_n.png", "_o.png", "_d.png".
    void setPauseButtonImages(const QString &stem);
    void setWebViewVisible(bool visible);
    // Reloads the web view; false when the page has none.
    bool reloadWebView();
    // The resource service carries no website or community address.
    void hideCommunityButtons();
    void showActivityIcon(bool visible, const QString &image);

private:
    void set(const QString &objectName, const char *property, const QVariant &value);

    QPointer<QObject> m_root;
};
