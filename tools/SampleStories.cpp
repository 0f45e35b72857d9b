#include "SampleStories.h"

namespace SampleStories {

QList<Story> all()
{
    Story fox;
    fox.fileName = QStringLiteral("лиса.txt");
    fox.texts = {
        QStringLiteral("Осенью лиса Рыжик гуляла по лесу. Листья шуршали под лапами, "
                       "а тропинка убегала в две стороны."),
        QStringLiteral("Пойти к реке?"),
        QStringLiteral("Лиса свернула в чащу. Там ёжик пыхтел и тащил на спине большое "
                       "красное яблоко."),
        QStringLiteral("Лиса вышла к реке. На берегу грустил бобёр: вода размыла его плотину."),
        QStringLiteral("Помочь ёжику?"),
        QStringLiteral("Помочь бобру?"),
        QStringLiteral("Лиса убежала домой и уснула. Ей было немного грустно одной."),
        QStringLiteral("Лиса донесла яблоко до норки, и ёжик угостил её грибами."),
        QStringLiteral("Лиса посмотрела на уток и ушла. Бобёр сам чинил плотину до ночи."),
        QStringLiteral("Лиса и бобёр вместе починили плотину и стали друзьями."),
    };
    fox.pictures = { QStringLiteral("лиса_спит.bmp"), QStringLiteral("лиса_и_ежик.jpg"),
        QStringLiteral("лиса_у_реки.jpg"), QStringLiteral("лиса_и_бобр.jpg") };

    Story zebra;
    zebra.fileName = QStringLiteral("зебра.txt");
    zebra.texts = {
        QStringLiteral("В зоопарке жила зебра Зоя. Однажды утром сторож забыл закрыть "
                       "калитку её вольера."),
        QStringLiteral("Выйти из вольера?"),
        QStringLiteral("Зоя осталась дома. Скоро к забору подбежали дети с разноцветными "
                       "шариками."),
        QStringLiteral("Зоя вышла на дорожку и пошла гулять. У пруда она встретила жирафа Гошу."),
        QStringLiteral("Подойти к детям?"),
        QStringLiteral("Гулять с Гошей?"),
        QStringLiteral("Зоя легла на солому и уснула. Ей снились полосатые облака."),
        QStringLiteral("Дети угостили Зою морковкой и долго махали ей шариками."),
        QStringLiteral("Зоя вернулась домой. Сторож закрыл калитку и дал ей сена."),
        QStringLiteral("Зоя и Гоша гуляли до вечера и вместе смотрели на закат."),
    };
    zebra.pictures = { QStringLiteral("зебра_спит.jpg"), QStringLiteral("зебра_и_дети.jpg"),
        QStringLiteral("зебра_дома.bmp"), QStringLiteral("зебра_и_жираф.jpg") };
    return { fox, zebra };
}

} // namespace SampleStories
