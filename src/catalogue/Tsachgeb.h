#pragma once

#include <QDialog>

class QPushButton;
class QTreeWidget;

namespace orba {

class Catalogue;

// The subject areas: the parts of the catalogue's suitability field (field 3), each a value for a
// code-3 criterion. The tree is built when the window is first shown with a loaded catalogue.
class Tsachgeb : public QDialog {
    Q_OBJECT
public:
    Tsachgeb(QWidget* parent, const Catalogue& catalogue);

    // An empty caption leaves the current one.
    void setCaptionText(const QString& caption);

    // The text of the selected entry; empty when none is selected.
    QString selectedSubjectArea() const;

public:
    // Controls, named as the window definition names them.
    QTreeWidget* TreeView1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* BitBtn3;
    QPushButton* BitBtn4;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildTree();
    void BitBtn1Click();

    const Catalogue& m_catalogue;
    bool m_built = false;
};

} // namespace orba
