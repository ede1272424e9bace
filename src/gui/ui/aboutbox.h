#pragma once

#include <QDialog>

// The "Készítő" box: program title, version and the maker's contact lines. The caller
// creates it, shows it modally and destroys it.
class AboutBox final : public QDialog
{
    Q_OBJECT

public:
    explicit AboutBox(QWidget *parent = nullptr);
};
