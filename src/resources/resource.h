// Resource ids of Ornavale.exe. windres reads this file too, so it holds #defines only.
#ifndef ORNAVALE_RESOURCE_H
#define ORNAVALE_RESOURCE_H

// Icons. The window classes take icon 1 as the program icon.
#define IDI_ORNAVALE 1
#define IDI_LED_ON 101
#define IDI_LED_OFF 102
#define IDI_NOICON 103  // the placeholder of an icon that cannot be read

// Picture strips, one picture beside the next (keys and sizes in Pictures.h).
#define IDB_TOOLBAR_GREY 201
#define IDB_TOOLBAR_HOT 202
#define IDB_NAV 203

// Cursors.
#define IDC_HOTSPOT 301  // the hotspot picker's cross-hair
#define IDC_EYEDROPPER 302  // the import window's pointer for picking the transparent colour

#endif
