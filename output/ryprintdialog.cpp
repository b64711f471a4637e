#include "output/ryprintdialog.h"

#include "output/rypagecontent.h"
#include "output/rypageselectorbutton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsView>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// Longer output than this shows its progress and can be cancelled.
constexpr int QuietPageCount = 20;

} // namespace

RyPrintDialog::RyPrintDialog(const RyPageContent *content, QWidget *parent)
    : QDialog(parent)
    , m_scene(new RyPrintPreviewScene(content, this))
{
    setObjectName(QStringLiteral("RyPrintDialog"));
    setWindowTitle(QStringLiteral("Print settings"));
    buildForm();
    connectControls();
    if (QScreen *screen = QGuiApplication::primaryScreen())
        setFixedSize(screen->size() * 0.7);
    // The first layout: A4 portrait at 100 %.
    m_portrait->select();
}

RyPrintDialog::~RyPrintDialog() = default;

void RyPrintDialog::buildForm()
{
    m_view = new QGraphicsView(m_scene, this);
    m_view->setObjectName(QStringLiteral("previewView"));
    m_view->setBackgroundBrush(Qt::gray);
    m_view->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addWidget(buildSettings());
}

QWidget *RyPrintDialog::buildSettings()
{
    auto *settings = new QWidget(this);
    auto *column = new QVBoxLayout(settings);

    column->addWidget(new QLabel(QStringLiteral("Printer & Page Size"), settings));
    m_printers = new QComboBox(settings);
    m_printers->setObjectName(QStringLiteral("printerBox"));
    m_printers->addItems(QPrinterInfo::availablePrinterNames());
    m_printers->setCurrentText(QPrinterInfo::defaultPrinterName());
    column->addWidget(m_printers);
    m_papers = new QComboBox(settings);
    m_papers->setObjectName(QStringLiteral("paperBox"));
    m_papers->addItem(QStringLiteral("A3"), QSizeF(297, 420));
    m_papers->addItem(QStringLiteral("A4"), QSizeF(210, 297));
    m_papers->addItem(QStringLiteral("A5"), QSizeF(148, 210));
    m_papers->addItem(QStringLiteral("A6"), QSizeF(105, 148));
    m_papers->setCurrentText(QStringLiteral("A4"));
    column->addWidget(m_papers);

    column->addWidget(new QLabel(QStringLiteral("Page Orientation"), settings));
    auto *orientations = new QHBoxLayout;
    m_portrait = new RyPageSelectorButton(RyPageSelectorButton::Portrait, settings);
    m_landscape = new RyPageSelectorButton(RyPageSelectorButton::Landscape, settings);
    orientations->addWidget(m_portrait);
    orientations->addWidget(m_landscape);
    orientations->addStretch();
    column->addLayout(orientations);

    column->addWidget(new QLabel(QStringLiteral("Content Scale"), settings));
    m_slider = new QSlider(Qt::Horizontal, settings);
    m_slider->setObjectName(QStringLiteral("scaleSlider"));
    m_slider->setRange(1, 150);
    m_slider->setValue(100);
    column->addWidget(m_slider);
    auto *scaleRow = new QHBoxLayout;
    m_spinBox = new QSpinBox(settings);
    m_spinBox->setObjectName(QStringLiteral("scaleSpinBox"));
    m_spinBox->setRange(1, 150);
    m_spinBox->setValue(100);
    m_spinBox->setSuffix(QStringLiteral("%"));
    m_reset = new QPushButton(QStringLiteral("&Reset"), settings);
    scaleRow->addWidget(m_spinBox);
    scaleRow->addWidget(m_reset);
    column->addLayout(scaleRow);

    m_repeatHeaders = new QCheckBox(QStringLiteral("Repeat table &headers"), settings);
    m_repeatHeaders->setChecked(true);
    m_pageNumbers = new QCheckBox(QStringLiteral("Print page &numbers"), settings);
    column->addWidget(m_repeatHeaders);
    column->addWidget(m_pageNumbers);

    // Kept for its place in the form; it has no effect.
    m_printRange = new QGroupBox(QStringLiteral("Print:"), settings);
    auto *range = new QVBoxLayout(m_printRange);
    auto *thisSheet = new QRadioButton(QStringLiteral("This Sheet"), m_printRange);
    thisSheet->setChecked(true);
    range->addWidget(thisSheet);
    range->addWidget(new QRadioButton(QStringLiteral("All Sheets"), m_printRange));
    m_printRange->hide();
    column->addWidget(m_printRange);
    column->addStretch();

    m_print = new QPushButton(QStringLiteral("&Print..."), settings);
    m_savePdf = new QPushButton(QStringLiteral("Save as P&DF..."), settings);
    m_savePdf->setObjectName(QStringLiteral("savePdfButton"));
    m_done = new QPushButton(QStringLiteral("D&one"), settings);
    column->addWidget(m_print);
    column->addWidget(m_savePdf);
    column->addWidget(m_done);
    return settings;
}

void RyPrintDialog::connectControls()
{
    connect(m_portrait, &RyPageSelectorButton::pageOrientChecked, m_landscape,
            &RyPageSelectorButton::setUnchecked);
    connect(m_landscape, &RyPageSelectorButton::pageOrientChecked, m_portrait,
            &RyPageSelectorButton::setUnchecked);
    connect(m_portrait, &RyPageSelectorButton::pageOrientChecked, this, &RyPrintDialog::updatePage);
    connect(m_landscape, &RyPageSelectorButton::pageOrientChecked, this,
            &RyPrintDialog::updatePage);
    connect(m_papers, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &RyPrintDialog::updatePage);

    // Dragging only moves the number; the pages are laid out again on release.
    connect(m_slider, &QSlider::sliderMoved, this, &RyPrintDialog::setSpinboxScale);
    connect(m_slider, &QSlider::sliderReleased, this, QOverload<>::of(&RyPrintDialog::setScale));
    // Keys and clicks on the groove move the slider without a drag.
    connect(m_slider, &QSlider::valueChanged, this, [this](int value) {
        if (!m_slider->isSliderDown())
            m_spinBox->setValue(value);
    });
    connect(m_spinBox, QOverload<int>::of(&QSpinBox::valueChanged), this,
            QOverload<int>::of(&RyPrintDialog::setScale));
    connect(m_spinBox, QOverload<int>::of(&QSpinBox::valueChanged), m_slider, &QSlider::setValue);
    connect(m_reset, &QPushButton::clicked, this, &RyPrintDialog::resetScale);

    connect(m_repeatHeaders, &QCheckBox::toggled, m_scene,
            &RyPrintPreviewScene::setRepeatTableHeaders);
    connect(m_pageNumbers, &QCheckBox::toggled, m_scene, &RyPrintPreviewScene::setPrintPageNumbers);
    connect(m_print, &QPushButton::clicked, this, &RyPrintDialog::print);
    connect(m_savePdf, &QPushButton::clicked, this, &RyPrintDialog::saveAsPdf);
    connect(m_done, &QPushButton::clicked, this, &QDialog::accept);
}

void RyPrintDialog::setScale()
{
    m_scene->setScale(m_spinBox->value() / 100.0);
}

void RyPrintDialog::setScale(int value)
{
    m_scene->setScale(value / 100.0);
}

void RyPrintDialog::setSpinboxScale()
{
    const QSignalBlocker blocker(m_spinBox);
    m_spinBox->setValue(m_slider->sliderPosition());
}

void RyPrintDialog::resetScale()
{
    m_spinBox->setValue(100);
    m_scene->setScale(1.0);
}

void RyPrintDialog::updatePage()
{
    QSizeF paper = m_papers->currentData().toSizeF();
    if (m_landscape->isSelected())
        paper.transpose();
    {
        const QSignalBlocker blocker(m_spinBox);
        m_spinBox->setValue(100);
        m_slider->setValue(100);
    }
    m_scene->setScale(1.0);
    m_scene->setPageSize(paper);
    fitFirstPage();
}

void RyPrintDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    fitFirstPage();
}

void RyPrintDialog::fitFirstPage()
{
    if (m_scene->pageCount() == 0)
        return;
    const QRectF page = m_scene->pageLayout().pages().first().rect;
    const qreal gap = m_scene->margin().width();
    m_view->resetTransform();
    m_view->fitInView(page.adjusted(-gap, -gap, gap, gap), Qt::KeepAspectRatio);
    m_view->ensureVisible(page.topLeft().x(), page.topLeft().y(), 1, 1);
}

QPageLayout RyPrintDialog::pageLayout() const
{
    const QSizeF paper = m_papers->currentData().toSizeF();
    return QPageLayout(QPageSize(paper, QPageSize::Millimeter),
                       m_landscape->isSelected() ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF());
}

RyPrintPreviewScene::Progress RyPrintDialog::progressFor(std::unique_ptr<QProgressDialog> &dialog,
                                                         const QString &text)
{
    const int pages = m_scene->pageCount();
    if (pages <= QuietPageCount)
        return RyPrintPreviewScene::Progress();
    dialog.reset(new QProgressDialog(text, QStringLiteral("Cancel"), 0, pages, this));
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(0);
    QProgressDialog *shown = dialog.get();
    return [shown](int done) {
        shown->setValue(done);
        return !shown->wasCanceled();
    };
}

bool RyPrintDialog::writePdf(const QString &path, QString *error)
{
    const auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (error)
        error->clear();
    const QString shownPath = QDir::toNativeSeparators(path);
    if (m_scene->pageCount() == 0)
        return fail(QStringLiteral("There are no pages to write."));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("%1 cannot be written: %2").arg(shownPath, file.errorString()));
    QPdfWriter writer(&file);
    writer.setCreator(QStringLiteral("Tarvik"));
    writer.setPageLayout(pageLayout());
    QPainter painter;
    if (!painter.begin(&writer))
        return fail(QStringLiteral("%1 cannot be written.").arg(shownPath));
    std::unique_ptr<QProgressDialog> progress;
    const bool done = m_scene->paintPages(painter, writer,
                                          progressFor(progress, QStringLiteral("Writing PDF...")));
    painter.end();
    if (!done) {
        // Nothing of the cancelled output reaches the target file.
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return fail(QStringLiteral("%1 cannot be written: %2").arg(shownPath, file.errorString()));
    return true;
}

void RyPrintDialog::saveAsPdf()
{
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save as PDF"), QString(),
                                                QStringLiteral("PDF files (*.pdf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    QString error;
    if (!writePdf(path, &error) && !error.isEmpty())
        QMessageBox::warning(this, QStringLiteral("Save as PDF"), error);
}

void RyPrintDialog::print()
{
    // Without a printer the same pages can still go to a PDF file.
    if (m_printers->count() == 0) {
        saveAsPdf();
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(m_printers->currentText());
    printer.setFullPage(true);
    printer.setPageLayout(pageLayout());
    std::unique_ptr<QProgressDialog> progress;
    const bool done
        = m_scene->print(&printer, progressFor(progress, QStringLiteral("Printing...")));
    if (!done && !(progress && progress->wasCanceled()))
        QMessageBox::warning(this, QStringLiteral("Print"),
                             QStringLiteral("The pages could not be sent to the printer %1.")
                                 .arg(m_printers->currentText()));
}
