/* A settings dialog module built for an older interface, whose entry point
   has another name: the saver must refuse it rather than call it. */
int lumara_settings_run_0(const unsigned char* aboutPicture, unsigned long aboutPictureSize, unsigned long long owner);

int lumara_settings_run_0(const unsigned char* aboutPicture, unsigned long aboutPictureSize, unsigned long long owner) {
    (void)aboutPicture;
    (void)aboutPictureSize;
    (void)owner;
    return 1;
}
