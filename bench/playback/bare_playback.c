/* The smallest libmpv program that plays a stream: the yardstick for the player's cost.
 * Usage: bare_playback [--option=value ...] URL. Options go to mpv as they stand (to try
 * settings against the defaults). Prints "PLAYING <ms>" once audio plays, measured from the play
 * request, and "UNDERRUN" each time playback then stalls for want of data, until it is killed. */
#include <mpv/client.h>

#include <locale.h>
#include <stdio.h>
#include <string.h>
#include <time.h>

static double nowMs(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: %s [--option=value ...] URL\n", argv[0]);
        return 2;
    }
    setlocale(LC_NUMERIC, "C");
    mpv_handle* mpv = mpv_create();
    if (!mpv)
        return 1;
    mpv_set_option_string(mpv, "ao", "null");
    mpv_set_option_string(mpv, "vid", "no");
    mpv_set_option_string(mpv, "config", "no");
    mpv_set_option_string(mpv, "terminal", "no");
    mpv_set_option_string(mpv, "idle", "yes");
    for (int i = 1; i < argc - 1; ++i) {
        char name[128];
        const char* equals = strchr(argv[i], '=');
        if (strncmp(argv[i], "--", 2) != 0 || !equals || equals - argv[i] - 2 >= (long)sizeof name)
            return 2;
        memcpy(name, argv[i] + 2, (size_t)(equals - argv[i] - 2));
        name[equals - argv[i] - 2] = 0;
        if (mpv_set_option_string(mpv, name, equals + 1) < 0) {
            fprintf(stderr, "bad option %s\n", argv[i]);
            return 2;
        }
    }
    if (mpv_initialize(mpv) < 0)
        return 1;
    mpv_observe_property(mpv, 1, "core-idle", MPV_FORMAT_FLAG);
    mpv_observe_property(mpv, 2, "paused-for-cache", MPV_FORMAT_FLAG);

    const double requested = nowMs();
    const char* command[] = {"loadfile", argv[argc - 1], "replace", NULL};
    if (mpv_command(mpv, command) < 0)
        return 1;

    int loaded = 0;
    int reported = 0;
    for (;;) {
        const mpv_event* event = mpv_wait_event(mpv, -1);
        if (event->event_id == MPV_EVENT_SHUTDOWN)
            break;
        if (event->event_id == MPV_EVENT_FILE_LOADED)
            loaded = 1;
        if (event->event_id != MPV_EVENT_PROPERTY_CHANGE || !loaded)
            continue;
        const mpv_event_property* property = event->data;
        if (property->format != MPV_FORMAT_FLAG)
            continue;
        const int on = *(int*)property->data;
        if (event->reply_userdata == 1 && !on && !reported) {
            printf("PLAYING %.0f\n", nowMs() - requested);
            fflush(stdout);
            reported = 1;
        } else if (event->reply_userdata == 2 && on && reported) {
            printf("UNDERRUN\n");
            fflush(stdout);
        }
    }
    mpv_terminate_destroy(mpv);
    return 0;
}
