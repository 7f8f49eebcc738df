#include "register/descrizione_errore.h"

#include <array>

namespace listinova {

namespace {

struct Voce {
  int classe;
  const char* descrizione;
};

// Indexed by code - 1.
constexpr std::array<Voce, 89> kTabella = {{
    {2, "Campi del comando insufficienti"},                                 // 1
    {2, "Presente campo/i comando in eccesso o troppo lungo"},              // 2
    {2, "Un campo del comando e' troppo corto"},                            // 3
    {2, "Controllare i campi del comando"},                                 // 4
    {2, "Controllare i campi del comando"},                                 // 5
    {2, "Comando non supportato"},                                          // 6
    {2, "Il PLU non esiste"},                                               // 7
    {2, "Il reparto non esiste"},                                           // 8
    {2, "Aliquota IVA errata, controllare corrispondenza IVA-Reparto"},     // 9
    {2, "Numero operatore inesistente"},                                    // 10
    {2, "Password operatore errata"},                                       // 11
    {2, "Pagamento inesistente"},                                           // 12
    {2, "The requested Fiscal record doesn’t exist"},                       // 13
    {2, "The requested Fiscal record type doesn’t exist"},                  // 14
    {2, "Printing type error"},                                             // 15
    {2, "Giornata aperta, effettuare azzeramento Z1"},                      // 16
    {2, "Disconnect Jumpers first"},                                        // 17
    {2, "Data-Ora errata"},                                                 // 18
    {2, "CAN NOT PERFORM SALES"},                                           // 19
    {2, "Scontrino fiscale aperto, chiudere scontrino."},                   // 20
    {2, "Pagamento non valido"},                                            // 21
    {2, "Entrate - Prelievi in corso"},                                     // 22
    {2, "Aliquota IVA errata, controllare corrispondenza IVA-Reparto"},     // 23
    {2, "Errore prezzo"},                                                   // 24
    {2, "Protocollo ONLINE attivo"},                                        // 25
    {1, "Stampante Busy, reinviare il comando"},                            // 26
    {2, "Operazione di vendita non valida"},                                // 27
    {2, "Sconto - Aumento non valido"},                                     // 28
    {9, "Raggiunto limite massimo Programmazione Intestazioni scontrino"},  // 29
    {2, "Un report utente e' aperto"},                                      // 30
    {2, "Un report utente e' aperto"},                                      // 31
    {2, "The Fiscal Memory has no transactions"},                           // 32
    {2, "Numero Sconto-Aumento non valido"},                                // 33
    {2, "Raggiunto limite massimo PLU registrabili"},                       // 34
    {2, "Errore nell'invio dei dati BMP"},                                  // 35
    {2, "The BMP index number doesn’t exist"},                              // 36
    {2, "Numero categoria inesistente"},                                    // 37
    {2, "Printer ID index error"},                                          // 38
    {2, "Error printing type"},                                             // 39
    {2, "Unit ID index error"},                                             // 40
    {2, "Impossibile effettuare ulteriori vendite"},                        // 41
    {9, "Errore tastiera - Tastiera scollegata"},                           // 42
    {9, "Problema batteria tampone"},                                       // 43
    {4, "Carta finita"},                                                    // 44
    {9, "Errore taglierina"},                                               // 45
    {9, "Stampante scollegata"},                                            // 46
    {9, "Stampante surriscaldata"},                                         // 47
    {9, "Memoria fiscale scollegata"},                                      // 48
    {9, "Fatal error"},                                                     // 49
    {9, "Jumpers ancora inseriti. Rimuovere jumpers"},                      // 50
    {4, "Portello rotolo aperto"},                                          // 51
    {9, "Raggiunto limite massimo aliquote IVA programmabili"},             // 52
    {2, "No More Lines"},                                                   // 53
    {2, "Tastiera errata"},                                                 // 54
    {2, "No Ticket Discount"},                                              // 55
    {2, "Not Supported"},                                                   // 56
    {2, "Access not allowed for current clerk"},                            // 57
    {2, "Wrong Baud Rate"},                                                 // 58
    {2, "PLU Inattivo"},                                                    // 59
    {9, "Giornale elettronico pieno"},                                      // 60
    {2, "Valore troppo grande"},                                            // 61
    {2, "Invalid add/delete parameter"},                                    // 62
    {2, "Dipartimento Inattivo"},                                           // 63
    {2, "Cannot open Drawer."},                                             // 64
    {2, "There is not an open receipt."},                                   // 65
    {2, "Error in SD reports."},                                            // 66
    {2, "Discount/Markup limit is exceeded."},                              // 67
    {2, "Zero Discount/Markup."},                                           // 68
    {2, "Description is blank."},                                           // 69
    {2, "Wrong Key code."},                                                 // 70
    {2, "Client index error"},                                              // 71
    {2, "Wrong Client code."},                                              // 72
    {2, "Out of limits bonus."},                                            // 73
    {2, "Wrong Promotion link index."},                                     // 74
    {2, "WORD NOT ALLOWED (TOTALE)"},                                       // 75
    {2, "Error in barcode data."},                                          // 76
    {2, "Change is not allowed for this Payment type."},                    // 77
    {2, "Must insert the payment amount."},                                 // 78
    {2, "Same Header lines."},                                              // 79
    {2, "In Error Message."},                                               // 80
    {2, "Not found SD data."},                                              // 81
    {2, "There is no more data to read from SD."},                          // 82
    {2, "Set the limit to read SD data."},                                  // 83
    {2, "Totale dello scontrino negativo"},                                 // 84
    {2, "Receipt sales amount exceeded."},                                  // 85
    {2, "Daily sales amount exceeded."},                                    // 86
    {9, "La SD è PIENA!!!"},                                                // 87
    {9, "La SD è USATA!!!"},                                                // 88
    {9, "Superati i limiti della SD!!!"},                                   // 89
}};

// The leading hexadecimal digits, blanks skipped; a field without any reads 0.
int valoreEsadecimale(const QString& campo) {
  static const QString cifre = QStringLiteral("0123456789ABCDEF");
  int valore = 0;
  for (const QChar c : campo) {
    if (c == u' ') continue;
    const auto cifra = static_cast<int>(cifre.indexOf(c.toUpper()));
    if (cifra < 0 || valore > 0x7FFFFFF) break;
    valore = valore * 16 + cifra;
  }
  return valore;
}

}  // namespace

int DescrizioneErrore(QString& campoCodice, QString& descrizione) {
  const int codice = valoreEsadecimale(campoCodice);
  campoCodice = QString::number(codice);
  if (codice < 1 || codice > static_cast<int>(kTabella.size())) {
    descrizione.clear();
    return 0;
  }
  const Voce& voce = kTabella[static_cast<std::size_t>(codice - 1)];
  descrizione = QString::fromUtf8(voce.descrizione);
  return voce.classe;
}

}  // namespace listinova
