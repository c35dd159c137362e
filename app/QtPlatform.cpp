#include "QtPlatform.h"

#include "ListFile.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
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
    // Only passwords are copied: the hint asks clipboard managers to keep them out of their history.
    auto* data = new QMimeData;
    data->setText(QString::fromStdString(text));
    data->setData(QString::fromLatin1(kPasswordManagerHint), QByteArrayLiteral("secret"));
    clipboard->setMimeData(data);
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
    return WriteListFile(path, bytes);
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
