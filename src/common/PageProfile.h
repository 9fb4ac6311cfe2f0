// Where the time of the last result page went, part by part, in milliseconds: the page benchmark
// prints it beside each page. Each part adds up over the page; procGetPage starts it afresh.
#pragma once

#include "ui/Win.h"

struct PageProfile {
    double clear = 0;     // emptying the list, the image list and the commands of the page before
    double entries = 0;   // reading the entries and planning what each item shows
    double pictures = 0;  // reading the files and extracting their pictures
    double strip = 0;     // composing the strip of pictures and their masks
    double images = 0;    // adding the strip to the image list and binding it to the list
    double items = 0;     // filling the list view: texts, tags, keys
    double swap = 0;      // the twin list in the result list's place and back, with the column widths
    double panels = 0;    // the progress bar, the status and count panels, busy mode, the commands
    double events = 0;    // pending events between the entries
};
extern PageProfile gPageProfile;

// Adds the time from its making to its end to one part.
class PagePart {
  public:
    explicit PagePart(double& part) : part_(part) { QueryPerformanceCounter(&start_); }
    PagePart(const PagePart&) = delete;
    PagePart& operator=(const PagePart&) = delete;
    ~PagePart() {
        LARGE_INTEGER end;
        QueryPerformanceCounter(&end);
        part_ += 1000.0 * static_cast<double>(end.QuadPart - start_.QuadPart) / static_cast<double>(Frequency());
    }

  private:
    static LONGLONG Frequency() {
        static const LONGLONG frequency = [] {
            LARGE_INTEGER f;
            QueryPerformanceFrequency(&f);
            return f.QuadPart;
        }();
        return frequency;
    }
    double& part_;
    LARGE_INTEGER start_;
};
