#include "output/rysnipdialog.h"

#include "output/rypagecontent.h"
#include "output/rysnipgraphicsscene.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGraphicsView>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// QImage refuses larger sides, and larger images would take more memory than is sensible.
constexpr int MaxImageSide = 32767;
constexpr qint64 MaxImageBytes = qint64(1) << 30;

const QString ImageTitle = QStringLiteral("Image");

} // namespace

RySnipDialog::RySnipDialog(const RyPageContent *content, QWidget *parent)
    : QDialog(parent)
    , m_scene(new RySnipGraphicsScene(content, this))
{
    setObjectName(QStringLiteral("RySnipDialog"));
    setWindowTitle(QStringLiteral("Snip settings"));
    setMouseTracking(true);
    resize(602, 325);

    m_view = new QGraphicsView(m_scene, this);
    m_view->setObjectName(QStringLiteral("snipView"));
    m_view->setMouseTracking(true);
    auto *buttons = new QHBoxLayout;
    const QList<QPair<QString, void (RySnipDialog::*)()>> commands
        = { { QStringLiteral("Zoom &In"), &RySnipDialog::zoomInClicked },
            { QStringLiteral("Zoom &Out"), &RySnipDialog::zoomOutClicked },
            { QStringLiteral("Save to &PNG"), &RySnipDialog::saveToPngClicked },
            { QStringLiteral("Save to &clipboard"), &RySnipDialog::saveToClipboardClicked } };
    for (const auto &command : commands) {
        auto *button = new QPushButton(command.first, this);
        connect(button, &QPushButton::clicked, this, command.second);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);

    connect(m_scene, &RySnipGraphicsScene::cursorUpdated, this, &RySnipDialog::setSplitCursor);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        resize(screen->size() * 0.8);
}

void RySnipDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_view->fitInView(QRectF(0, 0, m_scene->sceneWidth(), m_scene->sceneHeight()),
                      Qt::KeepAspectRatio);
}

void RySnipDialog::mouseMoveEvent(QMouseEvent *event)
{
    setCursor(Qt::ArrowCursor);
    QDialog::mouseMoveEvent(event);
}

void RySnipDialog::zoomInClicked()
{
    m_view->scale(m_zoomFactor, m_zoomFactor);
}

void RySnipDialog::zoomOutClicked()
{
    m_view->scale(1 / m_zoomFactor, 1 / m_zoomFactor);
}

void RySnipDialog::setSplitCursor(bool splitCursor)
{
    setCursor(splitCursor ? Qt::SplitHCursor : Qt::ArrowCursor);
}

QString RySnipDialog::sizeProblem(const QSize &size)
{
    if (size.width() <= 0 || size.height() <= 0)
        return QStringLiteral("There is nothing between the lines to save.");
    const qint64 bytes = qint64(size.width()) * size.height() * 4;
    if (size.width() <= MaxImageSide && size.height() <= MaxImageSide && bytes <= MaxImageBytes)
        return QString();
    return QStringLiteral("The image would be %1 x %2 pixels, larger than an image can be "
                          "(at most %3 pixels on a side and 1 GiB).\nCollapse rows or narrow "
                          "the selection between the lines.")
        .arg(size.width())
        .arg(size.height())
        .arg(MaxImageSide);
}

QImage RySnipDialog::selectedImage(QString *problem) const
{
    const QRect area = m_scene->selection();
    const QString reason = sizeProblem(area.size());
    if (problem)
        *problem = reason;
    if (!reason.isEmpty())
        return QImage();
    QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        if (problem)
            *problem = QStringLiteral("There is not enough memory for an image of %1 x %2 "
                                      "pixels.")
                           .arg(area.width())
                           .arg(area.height());
        return image;
    }
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(-area.topLeft());
    painter.setClipRect(area);
    m_scene->content()->paintArea(painter, area);
    return image;
}

QImage RySnipDialog::imageOrMessage()
{
    QString problem;
    const QImage image = selectedImage(&problem);
    if (image.isNull())
        QMessageBox::warning(this, ImageTitle, problem);
    return image;
}

void RySnipDialog::saveToClipboardClicked()
{
    const QImage image = imageOrMessage();
    if (image.isNull())
        return;
    QApplication::clipboard()->setImage(image);
    QMessageBox::information(this, ImageTitle, QStringLiteral("Image was copied to clipboard"));
}

void RySnipDialog::saveToPngClicked()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save image"),
                                                      QApplication::applicationDirPath(),
                                                      QStringLiteral("PNG (*.png)"));
    if (!path.isEmpty())
        savePng(path);
}

bool RySnipDialog::savePng(const QString &path)
{
    const QImage image = imageOrMessage();
    if (image.isNull())
        return false;
    const QString shownPath = QDir::toNativeSeparators(path);
    QSaveFile file(path);
    QString problem;
    if (!file.open(QIODevice::WriteOnly)) {
        problem = file.errorString();
    } else {
        QImageWriter writer(&file, "png");
        if (!writer.write(image))
            problem = writer.errorString();
        else if (!file.commit())
            problem = file.errorString();
    }
    if (!problem.isEmpty()) {
        QMessageBox::warning(
            this, ImageTitle,
            QStringLiteral("The image could not be saved to %1:\n%2").arg(shownPath, problem));
        return false;
    }
    QMessageBox::information(this, ImageTitle, QStringLiteral("Image was saved to ") + shownPath);
    return true;
}
