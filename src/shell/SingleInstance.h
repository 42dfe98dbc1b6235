#pragma once
// One window per documents folder: two windows writing the same books,
// lists and typed values would undo each other's work. The first program
// started on a folder listens on a local socket named after the folder; a
// second one finds it there, asks it to come to the front, and ends.

#include <QObject>
#include <QString>

class QLocalServer;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // strDocumentsFolder names the instance (with the user id).
    explicit SingleInstance(const QString& strDocumentsFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this program is the first on its folder and now listens.
    // False when another one answered: it has been asked to come forward.
    bool becomePrimary();

    QString serverName() const { return m_strName; }

signals:
    // A second program was started on the same folder.
    void activationRequested();

private:
    QString m_strName;
    QLocalServer* m_pServer = nullptr;
};
