#include "QtPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>
#include <QUrl>

#include <chrono>
#include <ctime>
#include <thread>

namespace tarvelle {

namespace {

int64_t MonotonicNanoseconds()
{
    timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

} // namespace

void QtPlatform::beep()
{
    QApplication::beep();
}

uint32_t QtPlatform::tickCount()
{
    // Milliseconds since boot, wrapping at 32 bits like the classic tick counter.
    return static_cast<uint32_t>(MonotonicNanoseconds() / 1'000'000);
}

bool QtPlatform::queryPerformanceFrequency(int64_t& frequency)
{
    frequency = 1'000'000'000;
    return true;
}

bool QtPlatform::queryPerformanceCounter(int64_t& count)
{
    count = MonotonicNanoseconds();
    return true;
}

void QtPlatform::sleepMilliseconds(uint32_t milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

ScreenPoint QtPlatform::cursorPos()
{
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

void QtPlatform::showInformation(const std::string& title, const std::string& text)
{
    QMessageBox::information(window_, QString::fromStdString(title), QString::fromStdString(text));
}

void QtPlatform::showWarning(const std::string& title, const std::string& text)
{
    QMessageBox::warning(window_, QString::fromStdString(title), QString::fromStdString(text));
}

void QtPlatform::showError(const std::string& text)
{
    QMessageBox::critical(window_, QApplication::applicationDisplayName(), QString::fromStdString(text));
}

void QtPlatform::setClipboardText(const std::string& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(QString::fromStdString(text));
}

std::optional<std::string> QtPlatform::askSaveFileName()
{
    QFileDialog dialog(window_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({QStringLiteral("Text File (*.txt)"), QStringLiteral("All Files (*)")});
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdString();
}

std::optional<std::string> QtPlatform::writeFile(const std::string& path, const std::string& bytes)
{
    const QString name = QString::fromStdString(path);
    // QSaveFile would put a regular file in place of a device, a pipe or a socket of that name.
    const QFileInfo target(name);
    if (target.exists() && !target.isFile())
        return QStringLiteral("%1 is not a regular file").arg(QDir::toNativeSeparators(name)).toStdString();
    // The old file is replaced only once the new one is written whole. Unbuffered, every failed write reaches
    // QSaveFile, which then discards the new file: a write failing only when a buffer is flushed inside
    // commit() would go unnoticed there and leave a cut-short file in place of the old one.
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString().toStdString();
    const auto size = static_cast<qint64>(bytes.size());
    for (qint64 done = 0; done < size;) {
        const qint64 written = file.write(bytes.data() + done, size - done);
        if (written <= 0) {
            const QString error = file.errorString();
            file.cancelWriting();
            return error.toStdString();
        }
        done += written;
    }
    if (!file.commit())
        return file.errorString().toStdString();
    return std::nullopt;
}

bool QtPlatform::openUrl(const std::string& url)
{
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

void QtPlatform::setMainWindowEnabled(bool enabled)
{
    if (window_)
        window_->setEnabled(enabled);
}

void QtPlatform::setBusyCursor(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtPlatform::processEvents()
{
    QCoreApplication::processEvents();
}

} // namespace tarvelle
