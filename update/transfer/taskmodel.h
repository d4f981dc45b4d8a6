#pragma once

#include <QObject>
#include <QString>

// What one download is about: where the package lies, where it goes and how far it got.
// A plain record; the fields are read and written directly by the engine and the window.
class TaskModel : public QObject
{
    Q_OBJECT
public:
    explicit TaskModel(QObject *parent = nullptr);

    // The package's file name taken from the address, inside the folder.
    QString finalFilePath() const;
    // Where the bytes gather until the digest has been checked.
    QString partialFilePath() const;

    QString url;
    // Expected digest in hexadecimal; empty disables the check.
    QString md5;
    QString folder;
    int kind = 1;
    int groupId = 0;
    // Size of the whole package; 0 until known, only positive values are stored.
    qint64 fileSize = 0;
    // Set when the task ended, successfully or by a reported failure.
    bool finished = false;
};
