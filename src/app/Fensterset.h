// The seven long-lived objects of a run, created once each in a fixed order.
#pragma once

#include <memory>

class TFensterset
{
public:
    // Creates FMain, FDM, fdmKontakt, fdmDB_Key, FMessung, Fehlermeldung and FKurzmeldung in
    // this order and sets their program-wide references.
    TFensterset();
    // Releases them in reverse order and clears the references.
    ~TFensterset();

    TFensterset(const TFensterset&) = delete;
    TFensterset& operator=(const TFensterset&) = delete;

private:
    struct TObjekte;
    std::unique_ptr<TObjekte> FObjekte;
};
