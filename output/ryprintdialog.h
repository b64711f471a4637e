// "Print settings": the print preview with the printer, paper, orientation, content scale,
// header and page number choices, and the commands that send the pages to a printer or a PDF
// file. The page content is not owned and must outlive the dialog.
#pragma once

#include "output/ryprintpreviewscene.h"

#include <QDialog>
#include <QPageLayout>

class QCheckBox;
class QComboBox;
class QGraphicsView;
class QGroupBox;
class QProgressDialog;
class QPushButton;
class QSlider;
class QSpinBox;
class RyPageContent;
class RyPageSelectorButton;

class RyPrintDialog : public QDialog
{
    Q_OBJECT
public:
    explicit RyPrintDialog(const RyPageContent *content, QWidget *parent = nullptr);
    ~RyPrintDialog() override;

    RyPrintPreviewScene *scene() const { return m_scene; }
    QGraphicsView *view() const { return m_view; }
    QComboBox *printerBox() const { return m_printers; }
    QComboBox *paperBox() const { return m_papers; }
    RyPageSelectorButton *portraitButton() const { return m_portrait; }
    RyPageSelectorButton *landscapeButton() const { return m_landscape; }
    QSlider *scaleSlider() const { return m_slider; }
    QSpinBox *scaleSpinBox() const { return m_spinBox; }
    QCheckBox *repeatHeadersBox() const { return m_repeatHeaders; }
    QCheckBox *pageNumbersBox() const { return m_pageNumbers; }

    // The chosen paper with the chosen orientation, without margins.
    QPageLayout pageLayout() const;
    // Writes every page to a PDF file, replacing it only when all went well. False when it
    // failed (`error` says why) or was cancelled (`error` empty).
    bool writePdf(const QString &path, QString *error = nullptr);

public slots:
    void setScale();
    void setScale(int value);
    void setSpinboxScale();
    void resetScale();
    void updatePage();
    void print();
    void saveAsPdf();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildForm();
    QWidget *buildSettings();
    void connectControls();
    void fitFirstPage();
    // A progress dialog with Cancel for long output, none for a few pages.
    RyPrintPreviewScene::Progress progressFor(std::unique_ptr<QProgressDialog> &dialog,
                                              const QString &text);

    RyPrintPreviewScene *m_scene = nullptr;
    QGraphicsView *m_view = nullptr;
    QComboBox *m_printers = nullptr;
    QComboBox *m_papers = nullptr;
    RyPageSelectorButton *m_portrait = nullptr;
    RyPageSelectorButton *m_landscape = nullptr;
    QSlider *m_slider = nullptr;
    QSpinBox *m_spinBox = nullptr;
    QPushButton *m_reset = nullptr;
    QCheckBox *m_repeatHeaders = nullptr;
    QCheckBox *m_pageNumbers = nullptr;
    QGroupBox *m_printRange = nullptr;
    QPushButton *m_done = nullptr;
    QPushButton *m_print = nullptr;
    QPushButton *m_savePdf = nullptr;
};
