# cpack -G DEB: an installable package.
set(CPACK_PACKAGE_NAME wertomat)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Wertomat-Team")
set(CPACK_PACKAGE_CONTACT "Wertomat-Team <wertomat@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Wertetabellen kubischer Polynome")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Wertomat berechnet die Wertetabelle eines von drei kubischen Polynomen:
Anfangswert, Schrittweite und Endwert eingeben, Polynom waehlen, Berechnen
druecken. Jede Zahl erscheint mit vier Nachkommastellen, jede Ziffer exakt.
Das Paket enthaelt den Dialog wertomat und das Kommandozeilenwerkzeug
wertomat-table, das dieselbe Tabelle fuer Skripte ausgibt.")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries: the font the main form names, Qt's German texts, and
# Qt's Wayland platform, without which a Wayland session falls back to X11 or fails.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n, qt6-wayland")
set(CPACK_STRIP_FILES ON)
include(CPack)
