#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace tavix {

// The fields of one multipart/form-data POST as the service expects them: plain parts with no
// file name or content type, text in Windows-1252, files sent as Base64 text.
class MultipartForm
{
public:
    // A repeated name replaces the earlier value in its place.
    void addText(const QString &name, const QString &value);
    // The file is read whole when the body is built.
    void addFile(const QString &name, const QString &path);
    void clear() { m_fields.clear(); }
    bool isEmpty() const { return m_fields.isEmpty(); }
    QStringList names() const;

    // Throws tavix::Error when a file cannot be read.
    QByteArray body(const QByteArray &boundary) const;
    static QByteArray contentType(const QByteArray &boundary);

    // Base64 with a carriage return after every 64 characters, also after the last full group.
    static QByteArray base64Lines(const QByteArray &data);

private:
    struct Field
    {
        QString name;
        QString value; // text, or the file's path
        bool isFile;
    };
    void put(Field field);
    QList<Field> m_fields;
};

} // namespace tavix
