#pragma once

#include <QDialog>

// The "Készítő" box: program title, version, licence and where the built-in reference data
// come from. The caller creates it, shows it modally and destroys it.
class AboutBox final : public QDialog
{
    Q_OBJECT

public:
    explicit AboutBox(QWidget *parent = nullptr);
};
